#include "diseno.h"

#include "version.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace ventanas {
namespace {

constexpr Fuente kNormal { Cara::SansSerif, 8.25, false };
constexpr Fuente kGrande { Cara::SansSerif, 9.75, false };
constexpr Fuente kNegrita { Cara::SansSerif, 8.25, true };
constexpr Fuente kResultado { Cara::Comic, 14.25, true };

constexpr std::string_view kInstrucciones
    = "Seleccione un fichero CSB y pulse procesar. Si alg\u00FAn DC es erroneo le aparecer\u00E1 "
      "un mensaje de proceso terminado incorrectamente y se generar\u00E1 un fichero con el mismo "
      "nombre del fichero de entrada con extensi\u00F3n .log";

// The instructions keep their own text as their name, so a screen reader
// reads them out.
const Control kControlesEntrada[] = {
    { "Label2", Clase::Etiqueta, "", { 120, 120, 5175, 855 }, kInstrucciones, kNormal, kNegro, 6,
        true, false, kInstrucciones, "C\u00F3mo se usa Cotarel" },
    { "Frame1", Clase::Marco, "", { 120, 1080, 5295, 975 }, "Fichero Origen", kGrande, kNegro, 3,
        true, false, "Fichero Origen", "El fichero de \u00F3rdenes que se va a comprobar" },
    { "tbEntrada", Clase::Texto, "Frame1", { 240, 360, 3735, 405 }, "", kNormal, kNegro, 0, true,
        false, "Fichero de entrada", "Ruta del fichero de \u00F3rdenes elegido" },
    { "Image1", Clase::Imagen, "Frame1", { 4320, 360, 480, 360 }, "", kNormal, kNegro, std::nullopt,
        true, false, "Buscar fichero",
        "Abre el di\u00E1logo para elegir el fichero de \u00F3rdenes (Ctrl+O)" },
    { "Frame2", Clase::Marco, "", { 120, 2160, 5295, 975 }, "Fichero Destino", kGrande, kNegro, 4,
        true, false, "Fichero Destino", "El registro de errores de la comprobaci\u00F3n" },
    { "tbSalida", Clase::Texto, "Frame2", { 240, 360, 4575, 405 }, "", kNormal, kNegro, 5, true,
        false, "Fichero de registro",
        "Ruta del fichero .log donde se anotan las cuentas err\u00F3neas" },
    { "cmdProcesar", Clase::Boton, "", { 3000, 3240, 1215, 375 }, "&Procesar", kGrande, kNegro, 1,
        false, false, "Procesar", "Comprueba las cuentas del fichero elegido" },
    { "Command2", Clase::Boton, "", { 4320, 3240, 1095, 375 }, "C&errar", kGrande, kNegro, 2, true,
        false, "Cerrar", "Cierra Cotarel" },
    // The logo is taller than the room left under the buttons: its foot is cut off.
    { "Image2", Clase::Imagen, "", { 0, 3240, 2850, 450 }, "", kNormal, kNegro, std::nullopt, true,
        false, "Cotarel, Munvastor S.A., Control de DC", "Logotipo del programa" },
};

// The outcome's own text is Label1's name; the dialog's description repeats
// it, so a screen reader announces every outcome when the dialog opens.
const Control kControlesMsg[] = {
    { "Frame1", Clase::Marco, "", { 120, 0, 5535, 735 }, "", kNormal, kNegro, 0, true, false,
        "Resultado", "C\u00F3mo ha terminado la comprobaci\u00F3n" },
    { "Label1", Clase::Etiqueta, "Frame1", { 240, 240, 5055, 495 }, "Proceso terminado", kResultado,
        kAzul, 2, true, true, "Proceso terminado", "Resultado de la comprobaci\u00F3n" },
    { "Command1", Clase::Boton, "", { 2520, 840, 1455, 375 }, "&Detalles", kNegrita, kNegro, 3,
        false, false, "Detalles", "Abre el registro de errores en el editor de textos" },
    { "cmdAceptar", Clase::Boton, "", { 4200, 840, 1455, 375 }, "&Aceptar", kNegrita, kNegro, 1,
        true, false, "Aceptar", "Cierra este mensaje" },
};

// What a screen reader reads when the window opens: the instructions and the
// keyboard's way to the file dialog (the folder takes no focus).
const std::string kDescripcionEntrada
    = std::string(kInstrucciones) + " Pulse Ctrl+O para elegir el fichero.";

const Ventana kEntrada { "frmEntrada", "Cotarel Ver " COTAREL_VERSION_TITULO, 5520, 3660, "Cotarel",
    kDescripcionEntrada, kControlesEntrada };

const Ventana kMsg { "frmMsg", "Cotarel    Munvastor S.A.", 5760, 1305,
    "Resultado de la comprobaci\u00F3n", "C\u00F3mo ha terminado la comprobaci\u00F3n del fichero",
    kControlesMsg };

} // namespace

const Control &Ventana::Buscar(std::string_view nombreControl) const
{
    const auto control = std::find_if(controles.begin(), controles.end(),
        [&](const Control &c) { return c.nombre == nombreControl; });
    if (control == controles.end()) {
        throw std::out_of_range("no control named " + std::string(nombreControl));
    }
    return *control;
}

const Ventana &DisenoEntrada()
{
    return kEntrada;
}

const Ventana &DisenoMsg()
{
    return kMsg;
}

std::optional<char> Acelerador(std::string_view texto)
{
    const std::size_t ampersand = texto.find('&');
    if (ampersand == std::string_view::npos || ampersand + 1 >= texto.size()) {
        return std::nullopt;
    }
    return texto[ampersand + 1];
}

} // namespace ventanas
