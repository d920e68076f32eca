// libFuzzer target: any bytes as an order file, checked through the same path
// as a desktop run. The run must end, leave no file open and no temporary file,
// keep a log only when it found errors, made only of well-formed error blocks
// with rising line numbers.
#include "interfaz.h"
#include "modMain.h"

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

// "Error en linea[:] N - Dígito ... erroneo": the number, and which tail.
struct LineaDeError
{
    unsigned long long numero;
    bool ordenante;
};

LineaDeError LeerLineaDeError(const std::string &linea, std::string_view entrada)
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
    const std::string cola = linea.substr(pos);
    if (cola == " - D\xEDgito de control de la cuenta de ordenante erroneo") {
        return { numero, true };
    }
    if (cola == " - D\xEDgito de control de la cuenta erroneo") {
        return { numero, false };
    }
    Fallo("unknown error line tail");
}

void Esperar(const std::vector<std::string> &lineas, std::size_t i, std::string_view prefijo)
{
    if (i >= lineas.size() || !Empieza(lineas[i], prefijo)) {
        Fallo("block line missing or out of place");
    }
}

void ComprobarLog(const std::string &log, bool adeudos)
{
    const auto lineas = Lineas(log);
    unsigned long long anterior = 0;
    std::size_t i = 0;
    while (i < lineas.size()) {
        if (lineas[i] != kSeparador || i + 1 >= lineas.size()) {
            Fallo("block does not open with the separator");
        }
        const auto error
            = LeerLineaDeError(lineas[i + 1], adeudos ? "Error en linea " : "Error en linea: ");
        if (error.numero <= anterior) {
            Fallo("line numbers do not rise");
        }
        anterior = error.numero;
        std::vector<std::string_view> resto;
        if (adeudos) {
            resto = error.ordenante
                ? std::vector<std::string_view> { "NIF Ordenante: ", "Nombre Ordenante: " }
                : std::vector<std::string_view> { "C\xF3"
                                                  "digo de referencia: ",
                      "Nombre o raz\xF3n social: " };
        } else {
            resto = error.ordenante
                ? std::vector<std::string_view> { "NIF Ordenante: " }
                : std::vector<std::string_view> { "NIF/CIF del Proveedor: ", "Nombre proveedor: " };
        }
        i += 2;
        for (const auto prefijo : resto) {
            Esperar(lineas, i++, prefijo);
        }
        if (i >= lineas.size() || lineas[i] != kSeparador) {
            Fallo("block does not close with the separator");
        }
        ++i;
    }
}

std::size_t DescriptoresAbiertos()
{
    const std::filesystem::directory_iterator entradas("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entradas), end(entradas)));
}

std::size_t EntradasEn(const std::string &carpeta)
{
    const std::filesystem::directory_iterator entradas(carpeta);
    return static_cast<std::size_t>(std::distance(begin(entradas), end(entradas)));
}

std::string Leer(const std::string &ruta)
{
    std::ifstream fichero(ruta, std::ios::binary);
    return { std::istreambuf_iterator<char>(fichero), std::istreambuf_iterator<char>() };
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

    const std::size_t antes = DescriptoresAbiertos();
    modMain::ProcesarFichero();
    if (DescriptoresAbiertos() != antes) {
        Fallo("a file stayed open");
    }
    const std::string_view codigo(
        reinterpret_cast<const char *>(datos), std::min<std::size_t>(tamano, 2));
    const auto tipo = modMain::TipoFichero(codigo);
    const modMain::Resultado &resultado = modMain::UltimoProceso();
    if (resultado.Terminado() != (tipo != modMain::TipoArchivo::NoCSB)) {
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
        const std::string log = Leer(modMain::FicheroSalida);
        ComprobarLog(log, tipo == modMain::TipoArchivo::Adeudos);
        if (log.empty()) {
            Fallo("an empty log was kept");
        }
    }
    return 0;
}
