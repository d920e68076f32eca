#include "ayuda.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace prueba {

std::string Registro(
    std::initializer_list<std::pair<std::size_t, std::string>> campos, std::size_t longitud)
{
    std::string linea(longitud, ' ');
    for (const auto &[posicion, texto] : campos) {
        linea.replace(posicion - 1, texto.size(), texto);
    }
    return linea.substr(0, longitud);
}

void EscribirBytes(const std::filesystem::path &ruta, const std::string &bytes)
{
    std::ofstream(ruta, std::ios::binary) << bytes;
}

CarpetaTemporal::CarpetaTemporal()
{
    std::random_device azar;
    ruta_ = std::filesystem::temp_directory_path() / ("cotarel-" + std::to_string(azar()));
    std::filesystem::create_directories(ruta_);
}

CarpetaTemporal::~CarpetaTemporal()
{
    std::error_code ignorado;
    std::filesystem::remove_all(ruta_, ignorado);
}

std::set<std::string> CarpetaTemporal::Nombres() const
{
    std::set<std::string> nombres;
    for (const auto &entrada : std::filesystem::directory_iterator(ruta_)) {
        nombres.insert(motor::TextoDeRuta(entrada.path().filename()));
    }
    return nombres;
}

#ifdef _WIN32

bool LimitarEscritura(std::optional<std::size_t>)
{
    return false;
}

#else

bool LimitarEscritura(std::optional<std::size_t> bytes)
{
    static const rlimit original = [] {
        rlimit limite {};
        getrlimit(RLIMIT_FSIZE, &limite);
        return limite;
    }();
    rlimit limite = original;
    if (bytes) {
        limite.rlim_cur = *bytes;
    }
    std::signal(SIGXFSZ, bytes ? SIG_IGN : SIG_DFL);
    return setrlimit(RLIMIT_FSIZE, &limite) == 0;
}

#endif

void ReiniciarEstado()
{
    modMain::FicheroEntrada.clear();
    modMain::FicheroSalida.clear();
    modMain::HayErrores = false;
    modMain::NumLinea = 0;
    modMain::DCCalculado.clear();
}

std::string EnJson(const std::string &ruta)
{
    std::string json;
    for (const char c : ruta) {
        json += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    return json;
}

std::vector<std::string> Palabras(const std::string &texto)
{
    std::vector<std::string> palabras;
    std::istringstream entrada(texto);
    for (std::string palabra; entrada >> palabra;) {
        palabras.push_back(palabra);
    }
    return palabras;
}

std::string Unir(const std::vector<std::string> &lineas)
{
    std::string texto;
    for (const auto &linea : lineas) {
        texto += linea + "\r\n";
    }
    return texto;
}

std::vector<std::string> Juntar(std::initializer_list<std::vector<std::string>> partes)
{
    std::vector<std::string> todo;
    for (const auto &parte : partes) {
        todo.insert(todo.end(), parte.begin(), parte.end());
    }
    return todo;
}

void PrintTo(const CasoComprobador &caso, std::ostream *salida)
{
    *salida << caso.nombre;
}

void ComprobarCaso(motor::TipoArchivo tipo, const CasoComprobador &caso)
{
    CarpetaTemporal carpeta;
    InterfazGrabadora interfaz;
    const auto entrada = carpeta / "remesa.txt";
    const auto salida = carpeta / "remesa.log";
    EscribirBytes(entrada, Unir(caso.lineas));

    const motor::Resultado resultado = motor::Comprobar(tipo, entrada, salida, interfaz);

    EXPECT_EQ(LeerBytes(salida), Unir(caso.log));
    EXPECT_EQ(std::filesystem::exists(salida), !caso.log.empty());
    EXPECT_EQ(resultado.hayErrores, !caso.log.empty());
    EXPECT_EQ(resultado.numLinea, caso.lineas.size());
    EXPECT_TRUE(resultado.Terminado());
    EXPECT_TRUE(interfaz.mensajes.empty());
}

} // namespace prueba
