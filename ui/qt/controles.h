// The controls of a window, built from the shared layout table.
#pragma once

#include "diseno.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <string_view>

// Every control of the table as a child of the window (or of its frame), named
// as in the table, placed at 96 dpi (Qt scales for the screen), with its text,
// font, colour, focus and what a screen reader says of it; the tab order is
// that of the tab indices. The window and its controls get the light palette.
void CrearControles(QWidget *ventana, const ventanas::Ventana &diseno);

QString Texto(std::string_view texto);
QColor Colorear(ventanas::Color color);
void PonerColor(QWidget *control, ventanas::Color color);
