#include "paleta.h"

#include <QWidget>

namespace paleta {
namespace {

// The classic light desktop: grey window and buttons, white text boxes,
// black text; disabled text still at 4.5 to 1 on the grey.
constexpr QRgb kVentana = 0xF0F0F0;
constexpr QRgb kTexto = 0x000000;
constexpr QRgb kCaja = 0xFFFFFF;
constexpr QRgb kClaro = 0xFFFFFF;
constexpr QRgb kMedioClaro = 0xE3E3E3;
constexpr QRgb kMedio = 0xA0A0A0;
constexpr QRgb kSombra = 0x696969;
constexpr QRgb kSeleccion = 0x0078D7;
constexpr QRgb kTextoSeleccion = 0xFFFFFF;
constexpr QRgb kFondoAyuda = 0xFFFFDC;
constexpr QRgb kTextoInactivo = 0x6D6D6D;

} // namespace

QPalette Clara()
{
    QPalette clara;
    for (const auto grupo : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        const bool inactivo = grupo == QPalette::Disabled;
        const QColor texto(inactivo ? kTextoInactivo : kTexto);
        clara.setColor(grupo, QPalette::Window, QColor(kVentana));
        clara.setColor(grupo, QPalette::WindowText, texto);
        clara.setColor(grupo, QPalette::Base, QColor(inactivo ? kVentana : kCaja));
        clara.setColor(grupo, QPalette::AlternateBase, QColor(kVentana));
        clara.setColor(grupo, QPalette::Text, texto);
        clara.setColor(grupo, QPalette::PlaceholderText, QColor(kTextoInactivo));
        clara.setColor(grupo, QPalette::Button, QColor(kVentana));
        clara.setColor(grupo, QPalette::ButtonText, texto);
        clara.setColor(grupo, QPalette::BrightText, QColor(kClaro));
        clara.setColor(grupo, QPalette::Light, QColor(kClaro));
        clara.setColor(grupo, QPalette::Midlight, QColor(kMedioClaro));
        clara.setColor(grupo, QPalette::Mid, QColor(kMedio));
        clara.setColor(grupo, QPalette::Dark, QColor(kMedio));
        clara.setColor(grupo, QPalette::Shadow, QColor(kSombra));
        clara.setColor(grupo, QPalette::Highlight, QColor(kSeleccion));
        clara.setColor(grupo, QPalette::HighlightedText, QColor(kTextoSeleccion));
        clara.setColor(grupo, QPalette::ToolTipBase, QColor(kFondoAyuda));
        clara.setColor(grupo, QPalette::ToolTipText, QColor(kTexto));
        clara.setColor(grupo, QPalette::Link, QColor(kSeleccion));
    }
    return clara;
}

// Set on each control too: a desktop theme may give a class of controls a
// palette of its own, which would win over the one the window passes on.
void AplicarClara(QWidget *ventana)
{
    const QPalette clara = Clara();
    ventana->setPalette(clara);
    for (QWidget *control : ventana->findChildren<QWidget *>()) {
        control->setPalette(clara);
    }
}

} // namespace paleta
