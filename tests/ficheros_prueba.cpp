#include "ficheros_prueba.h"

#include <fstream>
#include <iterator>
#ifdef _WIN32
#include <windows.h>
#endif

namespace prueba {

std::string LeerBytes(const std::filesystem::path &ruta)
{
    std::ifstream fichero(ruta, std::ios::binary);
    return { std::istreambuf_iterator<char>(fichero), std::istreambuf_iterator<char>() };
}

#ifdef _WIN32

int DescriptoresAbiertos()
{
    DWORD cuantos = 0;
    GetProcessHandleCount(GetCurrentProcess(), &cuantos);
    return static_cast<int>(cuantos);
}

#else

int DescriptoresAbiertos()
{
    const auto entradas = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entradas), end(entradas)));
}

#endif

} // namespace prueba
