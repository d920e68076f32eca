// Positions and sizes of the windows are in twips: 1440 to the inch, so 15 to
// a device-independent pixel at 96 dpi.
#pragma once

#include <QRect>
#include <QSize>

namespace twips {

constexpr int kPorPixel = 15;

constexpr int APixeles(int twips)
{
    return twips / kPorPixel;
}

inline QRect Rectangulo(int left, int top, int width, int height)
{
    return { APixeles(left), APixeles(top), APixeles(width), APixeles(height) };
}

inline QSize Tamano(int width, int height)
{
    return { APixeles(width), APixeles(height) };
}

} // namespace twips
