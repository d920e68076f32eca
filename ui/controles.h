// Creating a control of the windows: its object name, place (in twips) and font.
#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

template <typename Control>
Control *CrearControl(QWidget *contenedor, const char *nombre, QRect geometria, const QFont &fuente)
{
    auto *control = new Control(contenedor);
    control->setObjectName(QLatin1String(nombre));
    control->setGeometry(geometria);
    control->setFont(fuente);
    return control;
}
