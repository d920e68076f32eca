#include "rutas.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace motor {

#ifdef _WIN32

std::filesystem::path RutaDeSistema(std::string_view ruta)
{
    try {
        return std::filesystem::path(std::u8string(ruta.begin(), ruta.end()));
    } catch (const std::exception &) {
        return std::filesystem::path(std::string(ruta));
    }
}

std::string TextoDeRuta(const std::filesystem::path &ruta)
{
    const std::u8string texto = ruta.u8string();
    return std::string(texto.begin(), texto.end());
}

std::wstring TextoAncho(std::string_view texto)
{
    return RutaDeSistema(texto).native();
}

std::string TextoUtf8(std::wstring_view texto)
{
    return TextoDeRuta(std::filesystem::path(texto));
}

std::FILE *AbrirLectura(const std::string &ruta)
{
    return _wfopen(RutaDeSistema(ruta).c_str(), L"rb");
}

// The C runtime of MinGW has no "x" mode: the exclusive creation is asked of
// the system directly (CREATE_NEW), which never follows a link either.
std::FILE *CrearExclusivo(const std::string &ruta)
{
    const int descriptor = _wopen(RutaDeSistema(ruta).c_str(),
        _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        return nullptr;
    }
    std::FILE *fichero = _fdopen(descriptor, "wb");
    if (fichero == nullptr) {
        _close(descriptor);
    }
    return fichero;
}

#else

std::filesystem::path RutaDeSistema(std::string_view ruta)
{
    return std::filesystem::path(std::string(ruta));
}

std::string TextoDeRuta(const std::filesystem::path &ruta)
{
    return ruta.string();
}

std::FILE *AbrirLectura(const std::string &ruta)
{
    return std::fopen(ruta.c_str(), "rb");
}

// "x": created exclusively (O_EXCL), so an existing file is never truncated
// and a link planted at the path is never followed.
std::FILE *CrearExclusivo(const std::string &ruta)
{
    return std::fopen(ruta.c_str(), "wbx");
}

#endif

} // namespace motor
