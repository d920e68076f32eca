// The layout of both windows, the one table their faces build them from:
// every control's place and size in twips (1440 to the inch), its text, font,
// colour, tab index and what a screen reader says of it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ventanas {

struct Color
{
    std::uint8_t rojo = 0;
    std::uint8_t verde = 0;
    std::uint8_t azul = 0;
    friend constexpr bool operator==(Color, Color) = default;
};

inline constexpr Color kNegro { 0, 0, 0 };
inline constexpr Color kRojo { 255, 0, 0 };
inline constexpr Color kAzul { 0, 0, 255 };

enum class Clase {
    Etiqueta, // a static text
    Marco, // a frame with an optional caption
    Texto, // a read-only, one-line text box
    Imagen, // a picture; a clickable one tells its container of a click
    Boton, // a command button
};

enum class Cara {
    SansSerif, // MS Sans Serif
    Comic, // Comic Sans MS
};

struct Fuente
{
    Cara cara = Cara::SansSerif;
    double puntos = 8.25;
    bool negrita = false;
};

// A rectangle in twips, measured from the top-left corner of the client area
// of the container.
struct Rectangulo
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Control
{
    std::string_view nombre;
    Clase clase = Clase::Etiqueta;
    std::string_view contenedor; // empty: the window itself
    Rectangulo lugar;
    std::string_view texto; // a caption's "&" marks its accelerator
    Fuente fuente;
    Color color = kNegro;
    std::optional<int> tabIndex; // nothing: the control takes no focus
    bool habilitado = true;
    bool centrado = false; // text centred rather than left-aligned
    std::string_view nombreAccesible;
    std::string_view descripcion;
};

struct Ventana
{
    std::string_view nombre;
    std::string_view titulo;
    int ancho = 0; // of the client area, in twips
    int alto = 0;
    std::string_view nombreAccesible;
    std::string_view descripcion;
    std::span<const Control> controles;

    // The control of that name; every name a face asks for is in the table.
    const Control &Buscar(std::string_view nombre) const;
};

// The main window and the result dialog.
const Ventana &DisenoEntrada();
const Ventana &DisenoMsg();

// The letter after "&" in a caption, or nothing.
std::optional<char> Acelerador(std::string_view texto);

// Twips to pixels at a screen's dots per inch, rounded to the nearest pixel:
// 15 twips a pixel at 96 dpi, 10 at 144.
constexpr int APixeles(int twips, int dpi)
{
    const long long producto = static_cast<long long>(twips) * dpi;
    const long long mitad = producto >= 0 ? 720 : -720;
    return static_cast<int>((producto + mitad) / 1440);
}

} // namespace ventanas
