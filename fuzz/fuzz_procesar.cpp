// libFuzzer target: any bytes as an order file, checked through the same path
// as a desktop run. The run must end, leave no file open and no temporary file,
// keep a log only when it found errors, made only of well-formed error blocks
// (in flat files, with line numbers that never go back).
#include "ficheros_prueba.h"
#include "interfaz.h"
#include "modMain.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kSeparador = "* * * * * * * * * * * * * * * * * * *";

class SinVentanas final : public modMain::Interfaz
{
public:
    void MostrarMensaje(std::string_view) override { }
};

[[noreturn]] void Fallo(const char *motivo)
{
    std::fprintf(stderr, "malformed run: %s\n", motivo);
    std::abort();
}

std::vector<std::string> Lineas(const std::string &log)
{
    std::vector<std::string> lineas;
    std::size_t inicio = 0;
    while (inicio < log.size()) {
        const std::size_t fin = log.find("\r\n", inicio);
        if (fin == std::string::npos) {
            Fallo("last log line without CR LF");
        }
        lineas.push_back(log.substr(inicio, fin - inicio));
        inicio = fin + 2;
    }
    return lineas;
}

bool Empieza(const std::string &linea, std::string_view prefijo)
{
    return linea.compare(0, prefijo.size(), prefijo) == 0;
}

// "Error en linea[:] N <tail>": the number, and whose account the tail names
// or, for a fault of the order file beyond its accounts, which.
struct LineaDeError
{
    unsigned long long numero;
    bool ordenante;
    std::string_view remesa = {}; // the phrase; empty for an account's block
};

// The faults of totals, identifiers, amounts and BICs (SEPA and XML only).
constexpr std::string_view kFrasesRemesa[] = {
    "Total de importes erroneo",
    "N\xFAmero de \xF3rdenes erroneo",
    "N\xFAmero de registros erroneo",
    "Identificador del acreedor erroneo",
    "Importe de la orden erroneo",
    "BIC erroneo",
    "Falta el registro de totales",
};

bool EsCola(std::string_view cola, bool ordenante)
{
    static const std::string_view kOrdenante[] = {
        " - D\xEDgito de control de la cuenta de ordenante erroneo",
        " - IBAN de la cuenta de ordenante no v\xE1lido",
        " - D\xEDgitos de control del IBAN de ordenante erroneos",
    };
    static const std::string_view kIndividual[] = {
        " - D\xEDgito de control de la cuenta erroneo",
        " - IBAN de la cuenta no v\xE1lido",
        " - D\xEDgitos de control del IBAN erroneos",
    };
    const auto &colas = ordenante ? kOrdenante : kIndividual;
    return std::find(std::begin(colas), std::end(colas), cola) != std::end(colas);
}

LineaDeError LeerLineaDeError(const std::string &linea, std::string_view entrada, bool iban)
{
    if (!Empieza(linea, entrada)) {
        Fallo("error line without its lead-in");
    }
    std::size_t pos = entrada.size();
    unsigned long long numero = 0;
    const std::size_t inicioNumero = pos;
    while (pos < linea.size() && linea[pos] >= '0' && linea[pos] <= '9') {
        numero = numero * 10 + static_cast<unsigned>(linea[pos++] - '0');
    }
    if (pos == inicioNumero || linea[inicioNumero] == '0') {
        Fallo("line number missing or with a leading zero");
    }
    const std::string_view cola = std::string_view(linea).substr(pos);
    const bool ibanEnCola = cola.find("IBAN") != std::string_view::npos;
    if (ibanEnCola && !iban) {
        Fallo("an IBAN tail in a legacy file");
    }
    if (EsCola(cola, true)) {
        return { numero, true };
    }
    if (EsCola(cola, false)) {
        return { numero, false };
    }
    for (const std::string_view frase : kFrasesRemesa) {
        if (iban && cola.size() == frase.size() + 3 && cola.substr(0, 3) == " - "
            && cola.substr(3) == frase) {
            return { numero, false, frase };
        }
    }
    Fallo("unknown error line tail");
}

void Esperar(const std::vector<std::string> &lineas, std::size_t i, std::string_view prefijo)
{
    if (i >= lineas.size() || !Empieza(lineas[i], prefijo)) {
        Fallo("block line missing or out of place");
    }
}

using Etiquetas = std::vector<std::string_view>;

// The field lines of a block, by the file's kind and whose account it is.
Etiquetas EtiquetasDelBloque(modMain::TipoArchivo tipo, bool ordenante)
{
    using modMain::TipoArchivo;
    switch (tipo) {
    case TipoArchivo::Adeudos:
        return ordenante ? Etiquetas { "NIF Ordenante: ", "Nombre Ordenante: " }
                         : Etiquetas { "C\xF3"
                                       "digo de referencia: ",
                               "Nombre o raz\xF3n social: " };
    case TipoArchivo::Transferencias:
        return ordenante ? Etiquetas { "NIF Ordenante: " }
                         : Etiquetas { "NIF/CIF del Proveedor: ", "Nombre proveedor: " };
    case TipoArchivo::AdeudosSepa:
        return ordenante ? Etiquetas { "Identificador del acreedor: ", "Nombre del acreedor: " }
                         : Etiquetas { "Referencia del adeudo: ", "Nombre del deudor: " };
    case TipoArchivo::TransferenciasSepa:
        return ordenante ? Etiquetas { "NIF Ordenante: ", "Nombre Ordenante: " }
                         : Etiquetas { "Referencia: ", "Nombre del beneficiario: " };
    case TipoArchivo::XmlPain008:
        return ordenante ? Etiquetas { "Identificador del pago: ", "Nombre del acreedor: " }
                         : Etiquetas { "Referencia del adeudo: ", "Nombre del deudor: " };
    case TipoArchivo::XmlPain001:
        return ordenante ? Etiquetas { "Identificador del pago: ", "Nombre Ordenante: " }
                         : Etiquetas { "Referencia: ", "Nombre del beneficiario: " };
    case TipoArchivo::Xml:
    case TipoArchivo::NoCSB:
        break;
    }
    Fallo("a log for a file that is not an order file");
}

void ComprobarLog(const std::string &log, modMain::TipoArchivo tipo)
{
    using modMain::TipoArchivo;
    const bool lineaConDosPuntos = tipo == TipoArchivo::Transferencias
        || tipo == TipoArchivo::TransferenciasSepa || tipo == TipoArchivo::XmlPain001;
    const bool iban = tipo != TipoArchivo::Adeudos && tipo != TipoArchivo::Transferencias;
    const auto lineas = Lineas(log);
    unsigned long long anterior = 0;
    std::size_t i = 0;
    while (i < lineas.size()) {
        if (lineas[i] != kSeparador || i + 1 >= lineas.size()) {
            Fallo("block does not open with the separator");
        }
        const auto error = LeerLineaDeError(
            lineas[i + 1], lineaConDosPuntos ? "Error en linea: " : "Error en linea ", iban);
        // In XML several accounts may share a line, and a transaction's
        // blocks, or a scope's totals, are written when it ends. In flat
        // files an order's account, amount and BIC share its line.
        const bool xml = tipo == TipoArchivo::XmlPain008 || tipo == TipoArchivo::XmlPain001;
        const bool mismaLinea = xml || !error.remesa.empty();
        if (!xml && (error.numero < anterior || (error.numero == anterior && !mismaLinea))) {
            Fallo("line numbers do not rise");
        }
        anterior = error.numero;
        i += 2;
        if (error.remesa.empty()) {
            for (const auto prefijo : EtiquetasDelBloque(tipo, error.ordenante)) {
                Esperar(lineas, i++, prefijo);
            }
        } else {
            i += 2; // two lines of its own, of text from the file
            if (i > lineas.size()) {
                Fallo("a block of the order file cut short");
            }
        }
        if (i >= lineas.size() || lineas[i] != kSeparador) {
            Fallo("block does not close with the separator");
        }
        ++i;
    }
}

std::size_t EntradasEn(const std::string &carpeta)
{
    const std::filesystem::directory_iterator entradas(carpeta);
    return static_cast<std::size_t>(std::distance(begin(entradas), end(entradas)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *datos, std::size_t tamano)
{
    static SinVentanas sinVentanas;
    static const std::string carpeta = [] {
        std::string plantilla
            = (std::filesystem::temp_directory_path() / "cotarel-fuzz-XXXXXX").string();
        if (mkdtemp(plantilla.data()) == nullptr) {
            std::abort();
        }
        return plantilla;
    }();
    modMain::ConectarInterfaz(&sinVentanas);
    modMain::FicheroEntrada = carpeta + "/remesa.txt";
    modMain::FicheroSalida = carpeta + "/remesa.log";
    std::filesystem::remove(modMain::FicheroSalida);
    std::ofstream(modMain::FicheroEntrada, std::ios::binary)
        .write(reinterpret_cast<const char *>(datos), static_cast<std::streamsize>(tamano));

    const int antes = prueba::DescriptoresAbiertos();
    modMain::ProcesarFichero();
    if (prueba::DescriptoresAbiertos() != antes) {
        Fallo("a file stayed open");
    }
    const std::string_view bytes(reinterpret_cast<const char *>(datos), tamano);
    const auto tipo = modMain::TipoFichero(bytes.substr(0, bytes.find_first_of("\r\n")));
    const modMain::Resultado &resultado = modMain::UltimoProceso();
    const bool xml = tipo == modMain::TipoArchivo::Xml;
    if (resultado.tipo != tipo && resultado.Terminado() && !xml) {
        Fallo("the run took the file for another kind than its first line gives");
    }
    if (!xml && resultado.Terminado() != (tipo != modMain::TipoArchivo::NoCSB)) {
        Fallo("a CSB file that was not checked to its end, or another that was");
    }
    const bool hayLog = std::filesystem::exists(modMain::FicheroSalida);
    if (hayLog != (resultado.Terminado() && resultado.hayErrores)) {
        Fallo("a log where there should be none, or none where there should be one");
    }
    if (EntradasEn(carpeta) != (hayLog ? 2U : 1U)) {
        Fallo("a temporary file was left behind");
    }
    if (hayLog) {
        const std::string log = prueba::LeerBytes(modMain::FicheroSalida);
        ComprobarLog(log, resultado.tipo);
        if (log.empty()) {
            Fallo("an empty log was kept");
        }
    }
    return 0;
}
