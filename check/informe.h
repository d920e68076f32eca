// What cotarel-check says of one file: a tab-separated line for people, or a
// JSON object on one line for programs.
#pragma once

#include "ficheros.h"
#include "interfaz.h"
#include "tipos.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cotarel {

// In the order of the table of their names (informe.cpp).
enum class Desenlace { Correcto, Errores, SinCuentas, NoComprobado };

enum class Formato { Texto, Json };

// The faulty accounts of a file, for the JSON output, in bounded memory: the
// first ones in memory, the rest in an anonymous temporary file that goes
// with the list, written and read through the engine's disk.
class ListaFallos
{
public:
    static constexpr std::size_t kEnMemoria = 4096;

    void Anadir(const motor::CuentaAnotada &cuenta);
    // Each account in the order they came; false when the temporary file
    // could not be read back whole (the accounts visited before are the
    // first ones).
    bool Recorrer(const std::function<void(const motor::CuentaAnotada &)> &visitar) const;
    void Vaciar();
    // The temporary file could not be made or written.
    bool Fallo() const { return fallo_; }

private:
    std::vector<motor::CuentaAnotada> enMemoria_;
    motor::Fichero resto_;
    std::size_t enFichero_ = 0;
    bool fallo_ = false;
};

struct Informe
{
    std::string ruta; // as given
    std::optional<motor::TipoArchivo> tipo; // nothing: the file could not be read
    Desenlace desenlace = Desenlace::NoComprobado;
    std::optional<unsigned long long> comprobadas; // nothing: not checked
    unsigned long long erroneas = 0;
    unsigned long long sinIban = 0; // accounts given without an IBAN (XML "Othr")
    // Blocks of totals, counts, identifiers, amounts and BICs; nothing for a
    // legacy file, one that is not an order file, or a run that failed.
    std::optional<unsigned long long> erroresRemesa;
    std::string registro; // empty: no log kept
    std::string mensaje; // the first message of the run, if any
    ListaFallos fallos; // kept for JSON only
    std::string errores; // every message, for standard error
    int estado = 0; // the exit status this file asks for
    bool interrumpido = false;
};

// The report's line, ending in a line feed, written as it is made: the JSON
// line of a file with millions of faulty accounts is never whole in memory.
// Its accounts are known to read back whole before it is written (the batch
// reads them once first); false when they did not, the second time.
bool EscribirLinea(std::ostream &salida, const Informe &informe, Formato formato);

// A JSON string for bytes that should be UTF-8: valid text as it is, each byte
// that is not part of valid UTF-8 as the escape \udc80-\udcff, so that the
// exact bytes can be read back.
std::string TextoJson(std::string_view texto);

} // namespace cotarel
