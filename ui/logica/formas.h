// The pictures inside the windows as shapes, so that each face draws them at
// its screen's scale: the open folder of the file picker and the logo.
#pragma once

#include "diseno.h"

#include <array>
#include <span>
#include <string_view>

namespace ventanas::formas {

struct Punto
{
    double x = 0;
    double y = 0;
};

struct Poligono
{
    Color relleno;
    std::span<const Punto> puntos;
};

// The folder on a 16 x 16 grid, stretched to fill its control, outlined in
// kContorno: the back with its tab, then the open front leaning forward.
inline constexpr Color kContorno { 64, 48, 0 };
inline constexpr Punto kFondoCarpeta[]
    = { { 1, 4 }, { 5, 4 }, { 6.5, 5.5 }, { 13, 5.5 }, { 13, 13 }, { 1, 13 } };
inline constexpr Punto kFrenteCarpeta[] = { { 3, 7.5 }, { 15.5, 7.5 }, { 13, 13 }, { 1, 13 } };
inline constexpr std::array<Poligono, 2> kCarpeta { {
    { { 200, 160, 0 }, kFondoCarpeta },
    { { 255, 221, 0 }, kFrenteCarpeta },
} };

// The logo, 190 x 30 at 96 dpi: bands of colour and three texts.
struct Banda
{
    double left, top, width, height;
    Color color;
};

struct Rotulo
{
    double left, top, width, height;
    std::string_view texto;
    int pixeles; // the letters' height at 96 dpi
    bool negrita;
    bool cursiva;
    Color color;
};

inline constexpr int kAnchoLogo = 190;
inline constexpr int kAltoLogo = 30;
inline constexpr std::array<Banda, 3> kBandasLogo { {
    { 0, 0, 190, 28, { 192, 192, 192 } },
    { 0, 0, 6, 28, { 0, 0, 128 } },
    { 0, 28, 190, 2, { 255, 0, 0 } },
} };
// Left-aligned, centred in their height.
inline constexpr std::array<Rotulo, 3> kRotulosLogo { {
    { 12, 0, 86, 28, "Cotarel", 18, true, true, { 0, 0, 128 } },
    { 100, 2, 90, 13, "Munvastor S.A.", 10, false, false, { 128, 0, 0 } },
    { 100, 14, 90, 13, "Control de DC", 10, false, false, { 128, 128, 128 } },
} };

} // namespace ventanas::formas
