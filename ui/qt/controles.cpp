#include "controles.h"

#include "fuentes.h"
#include "paleta.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

constexpr int kDpiQt = 96; // Qt's device-independent pixels

QRect Lugar(const ventanas::Rectangulo &lugar)
{
    using ventanas::APixeles;
    return { APixeles(lugar.left, kDpiQt), APixeles(lugar.top, kDpiQt),
        APixeles(lugar.width, kDpiQt), APixeles(lugar.height, kDpiQt) };
}

QFont Fuente(const ventanas::Fuente &fuente)
{
    return fuente.cara == ventanas::Cara::Comic ? fuentes::Comic(fuente.puntos, fuente.negrita)
                                                : fuentes::SansSerif(fuente.puntos, fuente.negrita);
}

QWidget *Crear(QWidget *padre, const ventanas::Control &control)
{
    switch (control.clase) {
    case ventanas::Clase::Etiqueta: {
        auto *etiqueta = new QLabel(Texto(control.texto), padre);
        etiqueta->setAlignment(
            (control.centrado ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        etiqueta->setWordWrap(!control.centrado);
        return etiqueta;
    }
    case ventanas::Clase::Marco:
        return new QGroupBox(Texto(control.texto), padre);
    case ventanas::Clase::Texto: {
        auto *texto = new QLineEdit(Texto(control.texto), padre);
        texto->setReadOnly(true);
        return texto;
    }
    case ventanas::Clase::Imagen:
        return new QLabel(padre);
    case ventanas::Clase::Boton: {
        auto *boton = new QPushButton(Texto(control.texto), padre);
        boton->setAutoDefault(true); // Enter presses the focused button, as Space does
        return boton;
    }
    }
    return nullptr;
}

bool TomaFoco(const ventanas::Control &control)
{
    return control.tabIndex
        && (control.clase == ventanas::Clase::Texto || control.clase == ventanas::Clase::Boton);
}

} // namespace

QString Texto(std::string_view texto)
{
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QColor Colorear(ventanas::Color color)
{
    return QColor(color.rojo, color.verde, color.azul);
}

void PonerColor(QWidget *control, ventanas::Color color)
{
    QPalette paleta = control->palette();
    paleta.setColor(QPalette::WindowText, Colorear(color));
    control->setPalette(paleta);
}

void CrearControles(QWidget *ventana, const ventanas::Ventana &diseno)
{
    ventana->setObjectName(Texto(diseno.nombre));
    ventana->setWindowTitle(Texto(diseno.titulo));
    ventana->setAccessibleName(Texto(diseno.nombreAccesible));
    ventana->setAccessibleDescription(Texto(diseno.descripcion));
    std::vector<std::pair<int, QWidget *>> enfocables;
    for (const ventanas::Control &control : diseno.controles) {
        QWidget *padre = control.contenedor.empty()
            ? ventana
            : ventana->findChild<QWidget *>(Texto(control.contenedor));
        QWidget *widget = Crear(padre, control);
        widget->setObjectName(Texto(control.nombre));
        widget->setGeometry(Lugar(control.lugar));
        widget->setFont(Fuente(control.fuente));
        widget->setEnabled(control.habilitado);
        widget->setAccessibleName(Texto(control.nombreAccesible));
        widget->setAccessibleDescription(Texto(control.descripcion));
        if (TomaFoco(control)) {
            enfocables.emplace_back(*control.tabIndex, widget);
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
    }
    paleta::AplicarClara(ventana);
    for (const ventanas::Control &control : diseno.controles) {
        PonerColor(ventana->findChild<QWidget *>(Texto(control.nombre)), control.color);
    }
    std::sort(enfocables.begin(), enfocables.end(),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < enfocables.size(); ++i) {
        QWidget::setTabOrder(enfocables[i - 1].second, enfocables[i].second);
    }
    if (!enfocables.empty()) {
        enfocables.front().second->setFocus();
    }
}
