// What every checker shares: the walk over the input's lines, the account
// check, the error blocks written to the log, and the counts of the run.
#pragma once

#include "campos.h"
#include "cuentas.h"
#include "ficheros.h"
#include "interfaz.h"
#include "logseguro.h"
#include "remesa.h"
#include "resultado.h"
#include "utf8.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace motor {

inline constexpr std::string_view kSeparador = "* * * * * * * * * * * * * * * * * * *";
// Windows-1252 bytes: 0xED is "í", 0xF3 is "ó".
inline constexpr std::string_view kColaOrdenante
    = " - D\xEDgito de control de la cuenta de ordenante erroneo";
inline constexpr std::string_view kColaIndividual = " - D\xEDgito de control de la cuenta erroneo";
// 0xE1 is "á".
inline constexpr std::string_view kColaOrdenanteIbanNoValido
    = " - IBAN de la cuenta de ordenante no v\xE1lido";
inline constexpr std::string_view kColaIndividualIbanNoValido = " - IBAN de la cuenta no v\xE1lido";
inline constexpr std::string_view kColaOrdenanteDigitosIban
    = " - D\xEDgitos de control del IBAN de ordenante erroneos";
inline constexpr std::string_view kColaIndividualDigitosIban
    = " - D\xEDgitos de control del IBAN erroneos";

// The tail of an error line for a fault, of the ordering party's account or
// of an individual order's.
constexpr std::string_view Cola(FalloCuenta fallo, bool ordenante)
{
    switch (fallo) {
    case FalloCuenta::IbanNoValido:
        return ordenante ? kColaOrdenanteIbanNoValido : kColaIndividualIbanNoValido;
    case FalloCuenta::DigitosIban:
        return ordenante ? kColaOrdenanteDigitosIban : kColaIndividualDigitosIban;
    case FalloCuenta::DigitosCcc:
    case FalloCuenta::Ninguno:
        break;
    }
    return ordenante ? kColaOrdenante : kColaIndividual;
}

// One checker's run over an input that is already open and a log already created.
class Comprobacion
{
public:
    Comprobacion(LectorLineas &entrada, LogSeguro &log, Interfaz &interfaz)
        : entrada_(entrada)
        , log_(log)
        , interfaz_(interfaz)
    {
        entrada_.PreguntarSiParar([this] { return interfaz_.Interrumpido(); });
    }
    ~Comprobacion() { entrada_.PreguntarSiParar({}); }
    Comprobacion(const Comprobacion &) = delete;
    Comprobacion &operator=(const Comprobacion &) = delete;

    // The next input line, counted; nothing at the end of the input, after a
    // read or write failure, or once the run has been interrupted.
    std::optional<std::string_view> SiguienteLinea()
    {
        if (log_.FalloEscritura() || interrumpida_) {
            return std::nullopt;
        }
        const auto linea = entrada_.LeerLinea();
        if (entrada_.Parado()) [[unlikely]] {
            interrumpida_ = true;
            return std::nullopt;
        }
        if (entrada_.Bloques() != bloques_) [[unlikely]] {
            bloques_ = entrada_.Bloques();
            interrumpida_ = interfaz_.Interrumpido();
            if (interrumpida_) {
                return std::nullopt;
            }
        }
        if (!linea) {
            return linea;
        }
        ++numLinea_;
        return LeidaComoWindows1252(*linea);
    }
    // The next raw block of the input, for checkers that do not go by lines;
    // nothing at the end, after a failure, or once interrupted.
    std::optional<std::string_view> SiguienteBloque()
    {
        if (log_.FalloEscritura() || interrumpida_) {
            return std::nullopt;
        }
        const auto bloque = entrada_.LeerBloque();
        interrumpida_ = bloque && interfaz_.Interrumpido();
        return interrumpida_ ? std::nullopt : bloque;
    }
    // What a checker that reads blocks finds out for itself.
    void FijarNumLinea(unsigned long long numLinea) { numLinea_ = numLinea; }
    void FijarTipo(TipoArchivo tipo) { tipo_ = tipo; }
    // The file is not an order file after all: the run ends as for any file
    // that is not one, the outcome and the log path untouched.
    void RechazarTipo() { rechazada_ = true; }
    void XmlNoValido(unsigned long long linea) { lineaXml_ = linea; }
    void XmlCodificacionDesconocida(std::string_view nombre) { codificacion_ = nombre; }
    void SinMemoria() { sinMemoria_ = true; }
    // An account given without an IBAN, which cannot be checked.
    void CuentaSinIban() { ++cuentasSinIban_; }

    // Whether the walk must end now: a failure or an interruption.
    bool Detenida() const
    {
        return interrumpida_ || entrada_.FalloLectura() || log_.FalloEscritura();
    }

    // Whether the check digits computed are kept as the run's last ones: the
    // legacy CSB checkers keep them for the legacy layer's run state
    // (DCCalculado); no other checker pays for it on its every account.
    enum class Dc { Descartar, Guardar };

    // Computes the account's check digits; true when they differ from the
    // stored ones. Only the legacy transfer checker asks so.
    bool CuentaErronea(std::string_view entidad, std::string_view oficina, std::string_view cuenta,
        std::string_view dcGuardado)
    {
        return DigitosDistintos<Dc::Guardar>(
            DigitosDeControl(entidad, oficina, cuenta), dcGuardado);
    }

    // The same for a CCC written in one piece, its twenty characters from
    // `posicion` (from 1); a line that ends inside it is checked by the parts
    // it holds.
    template <Dc kDc = Dc::Descartar> bool CccErroneo(std::string_view linea, std::size_t posicion)
    {
        const std::size_t desde = posicion - 1;
        if (linea.size() < desde + 20) [[unlikely]] {
            return DigitosDistintos<kDc>(
                DigitosDeControl(Extraer(linea, { posicion, 4 }),
                    Extraer(linea, { posicion + 4, 4 }), Extraer(linea, { posicion + 10, 10 })),
                Extraer(linea, { posicion + 8, 2 }));
        }
        const char *ccc = linea.data() + desde;
        return DigitosDistintos<kDc>(DigitosDeControlSeguidos(ccc), { ccc + 8, 2 });
    }

    // Checks an IBAN field (cuentas.h), counted like every account.
    FalloCuenta IbanErroneo(std::string_view campo)
    {
        ++cuentasComprobadas_;
        return ComprobarIBAN(campo);
    }

    // The five-line block of a faulty account: separator, error line, two
    // field lines, separator. A block whose second label is empty has one
    // field line (the legacy transfer header's).
    struct Bloque
    {
        std::string_view entrada; // the checker's lead-in of the error line
        FalloCuenta fallo;
        bool ordenante;
        std::string_view etiqueta1, campo1, etiqueta2 = {}, campo2 = {};
        unsigned long long linea = 0; // of the account; 0: the line last read
        // The fields are written with blanks at both ends dropped, except in
        // the legacy CSB logs, whose fields stand as in the record, blanks
        // included (their checkers trim the names themselves).
        bool camposTalCual = false;
    };
    void InformarCuenta(const Bloque &bloque);
    unsigned long long NumLinea() const { return numLinea_; }

    // The file is one whose totals, counts, identifiers, amounts and BICs are
    // checked (SEPA flat and XML files): the run counts their blocks.
    void ComprobarRemesa() { remesaComprobada_ = true; }
    // The five-line block of such a fault: separator, error line with its
    // phrase, two lines that let a person find and mend it, separator.
    struct BloqueRemesa
    {
        std::string_view entrada;
        remesa::Fallo fallo;
        std::string_view etiqueta1, campo1, etiqueta2, campo2;
        unsigned long long linea = 0; // 0: the line last read
    };
    void InformarRemesa(const BloqueRemesa &bloque);
    // A totals fault: what the file says and what was counted.
    void InformarTotal(std::string_view entrada, remesa::Fallo fallo, unsigned long long linea,
        std::string_view enFichero, std::string_view calculado)
    {
        InformarRemesa({ entrada, fallo, "Valor en el fichero: ", enFichero,
            "Valor calculado: ", calculado, linea });
    }
    // A flat totals record's fields (as they stand) against the scope's sums.
    struct CamposTotales
    {
        std::string_view importe, ordenes, registros;
    };
    void CompararTotales(
        std::string_view entrada, const CamposTotales &campos, const remesa::Ambito &ambito);
    // A flat order's amount (in cents) and BIC as they stand, each fault a
    // block with the order's two labelled fields; the amount as read, if it
    // can be, for the sums.
    std::optional<remesa::Centimos> ComprobarOrden(std::string_view entrada,
        std::string_view importe, std::string_view bic, const Bloque &orden);
    // A flat file read to its end without its general totals, reported at
    // its last record; nothing more is said of a run that stopped early.
    void FaltanTotales(
        std::string_view entrada, const remesa::Ambito &fichero, unsigned long long ultimoRegistro);

    // Ends the run: the log put in place or discarded, the counts in the result.
    void Terminar(Resultado &resultado);

private:
    // Counts an account whose check digits are `dc`, keeping them if asked;
    // true when the stored ones differ.
    template <Dc kDc> bool DigitosDistintos(std::array<char, 2> dc, std::string_view dcGuardado)
    {
        if constexpr (kDc == Dc::Guardar) {
            dcCalculado_ = dc;
            dcGuardado_ = true;
        }
        ++cuentasComprobadas_;
        return dcGuardado.size() != 2 || dcGuardado[0] != dc[0] || dcGuardado[1] != dc[1];
    }
    void Escribir(std::string_view texto) { log_.EscribirLinea(texto); }
    // "<lead-in><line number><tail>", the tail saying what failed and whose
    // account it is; the caller is told of the faulty account.
    void EscribirLineaDeError(
        std::string_view entrada, FalloCuenta fallo, bool ordenante, unsigned long long linea);
    // "<label><field>"
    void EscribirCampo(std::string_view etiqueta, std::string_view campo);

    // A byte-order mark at the start is dropped; a line saved as UTF-8 is
    // converted to Windows-1252 before its fields are taken, so that
    // positions count characters, as the norms do. Any other line is taken
    // as it is: an ASCII line, or one whose first byte beyond ASCII starts
    // no UTF-8 character (a Windows-1252 accent), is known at once.
    std::string_view LeidaComoWindows1252(std::string_view linea)
    {
        const std::size_t primero = entrada_.PrimerAlto();
        if (primero >= linea.size()
            || (LargoCaracterUtf8(linea.substr(primero)) == 0
                && linea.size() != LectorLineas::kMaxBytesLinea)) [[likely]] {
            return linea.substr(0, LectorLineas::kMaxLinea);
        }
        return ConvertidaSiEsUtf8(linea);
    }
    std::string_view ConvertidaSiEsUtf8(std::string_view linea);

    LectorLineas &entrada_;
    LogSeguro &log_;
    Interfaz &interfaz_;
    unsigned long long bloques_ = 0;
    bool interrumpida_ = false;
    bool rechazada_ = false;
    std::optional<unsigned long long> lineaXml_; // where the XML stopped being valid
    std::optional<TipoArchivo> tipo_;
    bool hayErrores_ = false;
    unsigned long long numLinea_ = 0;
    unsigned long long cuentasComprobadas_ = 0;
    unsigned long long cuentasErroneas_ = 0;
    unsigned long long cuentasSinIban_ = 0;
    std::string codificacion_; // an XML file's encoding that is not known
    bool sinMemoria_ = false;
    bool remesaComprobada_ = false;
    unsigned long long erroresRemesa_ = 0;
    std::array<char, 2> dcCalculado_ {};
    bool dcGuardado_ = false;
    std::string linea_;
    std::string convertida_;
};

// Hands every line to the checker's line check until the input ends or the
// run stops. The check is a template argument, so it is inlined into the loop.
template <void (*ComprobarLinea)(std::string_view, Comprobacion &)>
void RecorrerFichero(Comprobacion &comprobacion)
{
    while (const auto linea = comprobacion.SiguienteLinea()) {
        ComprobarLinea(*linea, comprobacion);
    }
}

// The same with a check that keeps state across lines (running sums).
template <typename Comprobador>
void RecorrerFichero(Comprobacion &comprobacion, Comprobador &comprobador)
{
    while (const auto linea = comprobacion.SiguienteLinea()) {
        comprobador.Linea(*linea);
    }
}

// The checkers, each walking an open input into a created log.
void ComprobarAdeudos(Comprobacion &comprobacion);
void ComprobarTransferencias(Comprobacion &comprobacion);
void ComprobarAdeudosSepa(Comprobacion &comprobacion);
void ComprobarTransferenciasSepa(Comprobacion &comprobacion);
void ComprobarXml(Comprobacion &comprobacion);

} // namespace motor
