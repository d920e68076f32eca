#include "servicioswin32.h"

#include "controles.h"

#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <vector>

namespace win32 {
namespace {

constexpr wchar_t kTitulo[] = L"Cotarel";
constexpr wchar_t kDesinstalador[] = L"desinstalar.exe";

int Caja(std::string_view texto, UINT tipo)
{
    return MessageBoxW(GetActiveWindow(), Ancho(texto).c_str(), kTitulo, tipo);
}

std::string CarpetaConocida(const KNOWNFOLDERID &carpeta)
{
    PWSTR ruta = nullptr;
    std::string texto;
    if (SUCCEEDED(SHGetKnownFolderPath(carpeta, 0, nullptr, &ruta))) {
        texto = Utf8(ruta);
    }
    CoTaskMemFree(ruta);
    return texto;
}

// Whether a new file can be made in the folder: the only sure test on a
// system whose permissions are lists, not bits.
bool AdmiteFicheros(const std::filesystem::path &carpeta)
{
    const auto prueba = carpeta / L".cotarel-prueba.tmp";
    HANDLE fichero = CreateFileW(prueba.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (fichero == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(fichero);
    return true;
}

} // namespace

std::optional<std::string> ServiciosWin32::ElegirFichero(const ventanas::DialogoAbrir &dialogo)
{
    std::vector<wchar_t> fichero(32768, L'\0');
    const std::wstring anterior = Ancho(dialogo.fichero);
    anterior.copy(fichero.data(), std::min(anterior.size(), fichero.size() - 1));
    const std::wstring titulo = Ancho(dialogo.titulo);
    const std::wstring carpeta = Ancho(dialogo.carpetaInicial);
    OPENFILENAMEW caja {};
    caja.lStructSize = sizeof caja;
    caja.hwndOwner = GetActiveWindow();
    caja.lpstrFile = fichero.data();
    caja.nMaxFile = static_cast<DWORD>(fichero.size());
    caja.lpstrTitle = titulo.c_str();
    caja.lpstrInitialDir = anterior.empty() ? carpeta.c_str() : nullptr;
    caja.Flags
        = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&caja)) {
        return std::nullopt;
    }
    return Utf8(fichero.data());
}

void ServiciosWin32::Mensaje(std::string_view texto)
{
    Caja(texto, MB_OK);
}

void ServiciosWin32::Informacion(std::string_view texto)
{
    Caja(texto, MB_OK | MB_ICONINFORMATION);
}

bool ServiciosWin32::Preguntar(std::string_view texto)
{
    return Caja(texto, MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

// The command text goes to the system as it is: Notepad takes everything
// after its name, blanks included, as the file to open.
bool ServiciosWin32::Ejecutar(std::string_view orden, std::function<void()>)
{
    std::wstring linea = Ancho(orden);
    STARTUPINFOW inicio {};
    inicio.cb = sizeof inicio;
    inicio.dwFlags = STARTF_USESHOWWINDOW;
    inicio.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION proceso {};
    if (!CreateProcessW(nullptr, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
            &inicio, &proceso)) {
        return false;
    }
    const bool arrancado = proceso.dwProcessId != 0;
    CloseHandle(proceso.hThread);
    CloseHandle(proceso.hProcess);
    return arrancado;
}

// A program unpacked in a folder of the user's is not installed: the
// installer leaves its uninstaller beside the program.
ventanas::Carpetas ServiciosWin32::CarpetasDelUsuario()
{
    std::wstring programa(MAX_PATH, L'\0');
    DWORD largo = 0;
    while (
        (largo = GetModuleFileNameW(nullptr, programa.data(), static_cast<DWORD>(programa.size())))
        == programa.size()) {
        programa.resize(programa.size() * 2);
    }
    programa.resize(largo);
    const auto carpeta = std::filesystem::path(programa).parent_path();
    std::error_code error;
    const bool instalado = std::filesystem::exists(carpeta / kDesinstalador, error);
    return { Utf8(carpeta.native()), !instalado && AdmiteFicheros(carpeta),
        CarpetaConocida(FOLDERID_Documents), CarpetaConocida(FOLDERID_Profile) };
}

} // namespace win32
