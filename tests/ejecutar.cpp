#include "ejecutar.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#endif

namespace prueba {

#ifdef _WIN32

namespace {

// One argument quoted as the C runtime splits the command line again:
// backslashes are literal unless they come before a quote.
std::wstring Citar(const std::wstring &argumento)
{
    std::wstring citado = L"\"";
    std::size_t barras = 0;
    for (const wchar_t c : argumento) {
        if (c == L'\\') {
            ++barras;
            continue;
        }
        citado.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
        barras = 0;
        citado += c;
    }
    citado.append(barras * 2, L'\\');
    return citado + L"\"";
}

HANDLE Abrir(const std::string &ruta, bool escribir)
{
    SECURITY_ATTRIBUTES heredable { sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE };
    return CreateFileW(motor::RutaDeSistema(ruta).c_str(), escribir ? GENERIC_WRITE : GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE, &heredable, escribir ? CREATE_ALWAYS : OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

Ejecucion EjecutarPrograma(const std::string &programa, const std::vector<std::string> &argumentos,
    const CarpetaTemporal &carpeta, const Redirecciones &redirecciones)
{
    const std::string salida = carpeta / "stdout", errores = carpeta / "stderr";
    std::wstring linea = Citar(motor::RutaDeSistema(programa).wstring());
    for (const auto &argumento : argumentos) {
        linea += L" " + Citar(motor::RutaDeSistema(argumento).wstring());
    }
    STARTUPINFOW inicio {};
    inicio.cb = sizeof inicio;
    inicio.dwFlags = STARTF_USESTDHANDLES;
    inicio.hStdInput = Abrir(redirecciones.entrada.empty() ? "NUL" : redirecciones.entrada, false);
    inicio.hStdOutput = Abrir(redirecciones.salida.empty() ? salida : redirecciones.salida, true);
    inicio.hStdError = Abrir(errores, true);
    PROCESS_INFORMATION proceso {};
    DWORD estado = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, linea.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &inicio,
            &proceso)) {
        WaitForSingleObject(proceso.hProcess, INFINITE);
        GetExitCodeProcess(proceso.hProcess, &estado);
        CloseHandle(proceso.hProcess);
        CloseHandle(proceso.hThread);
    }
    for (HANDLE h : { inicio.hStdInput, inicio.hStdOutput, inicio.hStdError }) {
        CloseHandle(h);
    }
    return { static_cast<int>(estado), LeerBytes(carpeta / "stdout"),
        LeerBytes(carpeta / "stderr") };
}

#else

pid_t Lanzar(const std::string &programa, const std::vector<std::string> &argumentos,
    const posix_spawn_file_actions_t *acciones)
{
    std::vector<std::string> copias { programa };
    copias.insert(copias.end(), argumentos.begin(), argumentos.end());
    std::vector<char *> punteros;
    for (auto &copia : copias) {
        punteros.push_back(copia.data());
    }
    punteros.push_back(nullptr);
    pid_t hijo = -1;
    return posix_spawn(&hijo, programa.c_str(), acciones, nullptr, punteros.data(), environ) == 0
        ? hijo
        : -1;
}

Ejecucion EjecutarPrograma(const std::string &programa, const std::vector<std::string> &argumentos,
    const CarpetaTemporal &carpeta, const Redirecciones &redirecciones)
{
    const std::string salida = carpeta / "stdout", errores = carpeta / "stderr";
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    const std::string entrada = redirecciones.entrada.empty() ? "/dev/null" : redirecciones.entrada;
    const std::string destino = redirecciones.salida.empty() ? salida : redirecciones.salida;
    posix_spawn_file_actions_addopen(&acciones, 0, entrada.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(
        &acciones, 1, destino.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(
        &acciones, 2, errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t hijo = Lanzar(programa, argumentos, &acciones);
    posix_spawn_file_actions_destroy(&acciones);
    int estado = 0;
    const bool lanzado = hijo > 0 && waitpid(hijo, &estado, 0) == hijo;
    const int codigo = lanzado && WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    return { codigo, redirecciones.salida.empty() ? LeerBytes(carpeta / "stdout") : "",
        LeerBytes(carpeta / "stderr") };
}

#endif

} // namespace prueba
