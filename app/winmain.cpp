// Cotarel on Windows starts with its main window; a file given on the command
// line ("Abrir con", a drop on the program's icon) is taken once the window
// shows.
#include "frmEntrada.h"
#include "servicioswin32.h"
#include "version.h"

#include <commctrl.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int como)
{
    // Held until the process ends: the installer waits while it exists.
    CreateMutexW(nullptr, FALSE, L"" COTAREL_MUTEX);
    INITCOMMONCONTROLSEX controles { sizeof controles, ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controles);
    win32::ServiciosWin32 servicios;
    win32::frmEntrada ventana(servicios);
    ventana.Mostrar(como);

    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv != nullptr && argc > 1) {
        ventana.Abrir(win32::Utf8(argv[1]));
    }
    LocalFree(argv);

    MSG mensaje {};
    while (GetMessageW(&mensaje, nullptr, 0, 0) > 0) {
        if (!ventana.TraducirMensaje(mensaje)) {
            TranslateMessage(&mensaje);
            DispatchMessageW(&mensaje);
        }
    }
    return static_cast<int>(mensaje.wParam);
}
