// What both checkers share: opening the input and the log, counting lines,
// writing error blocks, and ending the run on every path with both files closed.
#pragma once

#include "ficheros.h"
#include "modMain.h"

#include <optional>
#include <string>
#include <string_view>

namespace modMain {

inline constexpr std::string_view kSeparador = "* * * * * * * * * * * * * * * * * * *";
// Windows-1252 bytes: 0xED is "í", 0xF3 is "ó".
inline constexpr std::string_view kColaOrdenante
    = " - D\xEDgito de control de la cuenta de ordenante erroneo";
inline constexpr std::string_view kColaIndividual = " - D\xEDgito de control de la cuenta erroneo";

class Comprobacion
{
public:
    // Opens both files, or shows why not and leaves the run state alone.
    bool Abrir(const std::string &entrada, const std::string &salida);
    // The next input line, counted in NumLinea; nothing at the end, after a
    // read error, or once the log could not be written.
    std::optional<std::string_view> SiguienteLinea()
    {
        if (log_->FalloEscritura()) {
            return std::nullopt;
        }
        const auto linea = entrada_->LeerLinea();
        if (linea) {
            NumLinea += 1;
        }
        return linea;
    }
    void Escribir(std::string_view texto) { log_->EscribirLinea(texto); }
    // "<lead-in><NumLinea><tail>"
    void EscribirLineaDeError(std::string_view entrada, std::string_view cola);
    // "<label><field>"
    void EscribirCampo(std::string_view etiqueta, std::string_view campo);
    void FinDeBloque();
    bool HuboFallo() const;
    // Closes both files and reports a failure that stopped the run.
    void Terminar();

private:
    std::optional<LectorLineas> entrada_;
    std::optional<EscritorLog> log_;
    std::string linea_;
};

// One checker run: opens both files, hands every line to comprobarLinea and
// ends the run. A template, so the per-line check is inlined into the loop.
template <typename ComprobarLinea>
void RecorrerFichero(
    const std::string &entrada, const std::string &salida, ComprobarLinea comprobarLinea)
{
    Comprobacion comprobacion;
    if (!comprobacion.Abrir(entrada, salida)) {
        return;
    }
    while (const auto linea = comprobacion.SiguienteLinea()) {
        comprobarLinea(*linea, comprobacion);
    }
    comprobacion.Terminar();
}

} // namespace modMain
