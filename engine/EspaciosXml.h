// XML namespaces resolved the way a namespace-aware parser resolves them, for
// an expat run without its namespace processing, which costs it more than
// the whole check of an order: the declarations in scope, and every name and
// declaration a namespace-aware parser refuses.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace motor {

class EspaciosXml
{
public:
    // What the declarations in scope hold is added to `memoria` as they come
    // and go, so that the parser's budget counts them.
    explicit EspaciosXml(std::size_t &memoria)
        : memoria_(memoria)
    {
    }

    // An element's name as a parser without namespaces gives it, NUL-ended,
    // and whether it has a colon.
    struct Nombre
    {
        std::string_view completo;
        bool conDosPuntos;
        std::string_view Local() const
        {
            return conDosPuntos ? completo.substr(completo.find(':') + 1) : completo;
        }
    };
    static Nombre Medir(const char *nombre);

    // The namespace of an element, from its name and its attributes (name and
    // value in turn, ending in nullptr), whose declarations come into scope at
    // that depth; nothing when a namespace-aware parser refuses the element.
    // The text stays valid until the next call. Most elements of an order
    // have no prefix and no attribute that declares a namespace or has one:
    // theirs is the default namespace.
    std::optional<std::string_view> Empezar(
        const Nombre &nombre, const char *const *atributos, std::size_t profundidad)
    {
        if (!nombre.conDosPuntos && SinEspacios(atributos)) [[likely]] {
            return defecto_;
        }
        return EmpezarConDeclaraciones(nombre, atributos, profundidad);
    }
    // The element at that depth ends: its declarations go out of scope.
    void Terminar(std::size_t profundidad)
    {
        if (!anteriores_.empty() && anteriores_.back().profundidad == profundidad) [[unlikely]] {
            Deshacer(profundidad);
        }
    }
    // Changes whenever a declaration comes into scope or goes out of it: the
    // texts given before stay as they were while it does not.
    unsigned long long Version() const { return version_; }
    // Whether a namespace-aware parser takes a processing instruction's
    // target: one without a colon.
    static bool DestinoValido(std::string_view destino)
    {
        return destino.find(':') == std::string_view::npos;
    }

private:
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view texto) const
        {
            return std::hash<std::string_view> {}(texto);
        }
    };
    struct Anterior // what a declaration hid, restored when it goes out of scope
    {
        std::string prefijo;
        std::optional<std::string> espacio;
        std::size_t profundidad;
    };

    // Whether no attribute declares a namespace or has a prefix, as most
    // (few as they are) in an order: an amount's currency.
    static bool SinEspacios(const char *const *atributos);
    std::optional<std::string_view> EmpezarConDeclaraciones(
        const Nombre &nombre, const char *const *atributos, std::size_t profundidad);
    void Deshacer(std::size_t profundidad);
    bool Declarar(std::string_view prefijo, std::string_view espacio, std::size_t profundidad);
    void Cambiado(); // the declarations in scope changed
    // Nothing for a prefix that is not declared; the default namespace ("")
    // undeclared is no namespace.
    std::optional<std::string_view> Resolver(std::string_view prefijo) const;
    bool AtributosValidos(const char *const *atributos) const;

    std::size_t &memoria_;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> enAmbito_;
    std::vector<Anterior> anteriores_; // innermost last
    std::string_view defecto_; // the default namespace in scope; empty: none
    unsigned long long version_ = 1;
    // The last prefix resolved and its namespace: an order's elements share one.
    mutable std::optional<std::string> prefijoVisto_; // nothing: none yet
    mutable std::optional<std::string_view> espacioVisto_;
};

// Every element's name passes here: in aligned blocks, sixteen bytes at a
// time where the processor has SSE2, else eight. An aligned block that holds
// a byte of the name never reaches past the page that byte lies in, so
// reading it whole cannot fault, although its bytes past the NUL are not the
// name's (they are never looked at: the address sanitizer is told not to
// watch them).
#if defined(__SSE2__)
__attribute__((no_sanitize_address)) inline EspaciosXml::Nombre EspaciosXml::Medir(
    const char *nombre)
{
    const auto direccion = reinterpret_cast<std::uintptr_t>(nombre);
    std::uintptr_t actual = direccion & ~std::uintptr_t { 15 };
    unsigned delNombre = 0xFFFFU << (direccion & 15); // the name's bytes in this block
    bool conDosPuntos = false;
    for (;;) {
        const __m128i bloque = _mm_load_si128(reinterpret_cast<const __m128i *>(actual));
        const auto marcas = [&bloque](char c) {
            return static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(bloque, _mm_set1_epi8(c))));
        };
        const unsigned ceros = marcas('\0') & delNombre;
        const unsigned puntos = marcas(':') & delNombre;
        if (ceros != 0) {
            conDosPuntos = conDosPuntos || (puntos & (ceros - 1)) != 0; // before the NUL
            return { { nombre,
                         actual - direccion + static_cast<std::size_t>(std::countr_zero(ceros)) },
                conDosPuntos };
        }
        conDosPuntos = conDosPuntos || puntos != 0;
        actual += 16;
        delNombre = 0xFFFFU;
    }
}
#else
namespace espacios_xml {

// The bytes of a word that are zero, each marked by its top bit. Only the
// lowest mark is sure (a borrow may mark bytes above it), which is the only
// one looked at.
inline std::uint64_t BytesCero(std::uint64_t palabra)
{
    return (palabra - 0x0101010101010101) & ~palabra & 0x8080808080808080;
}

} // namespace espacios_xml

__attribute__((no_sanitize_address)) inline EspaciosXml::Nombre EspaciosXml::Medir(
    const char *nombre)
{
    constexpr std::uint64_t kDosPuntos = 0x3A3A3A3A3A3A3A3A;
    const auto direccion = reinterpret_cast<std::uintptr_t>(nombre);
    const std::size_t antes = direccion & 7; // bytes of the first word before the name
    std::uintptr_t actual = direccion - antes;
    std::uint64_t palabra = 0;
    std::memcpy(&palabra, reinterpret_cast<const void *>(actual), 8);
    if (antes != 0) {
        palabra |= ~std::uint64_t { 0 } >> (64 - 8 * antes); // neither NUL nor ':'
    }
    std::uint64_t puntos = 0; // marks of colons, any but the lowest perhaps unsure
    for (;;) {
        const std::uint64_t ceros = espacios_xml::BytesCero(palabra);
        if (ceros != 0) {
            // Only the marks of bytes before the NUL: those past it are not
            // the name's.
            const std::uint64_t antesDelFin = (ceros & (~ceros + 1)) - 1;
            puntos |= espacios_xml::BytesCero(palabra ^ kDosPuntos) & antesDelFin;
            // Where this word starts from the name's start: before it in the
            // first word, an unsigned wrap that adding the byte's place undoes.
            const std::size_t longitud
                = actual - direccion + static_cast<std::size_t>(std::countr_zero(ceros)) / 8;
            return { { nombre, longitud }, puntos != 0 };
        }
        puntos |= espacios_xml::BytesCero(palabra ^ kDosPuntos);
        actual += 8;
        std::memcpy(&palabra, reinterpret_cast<const void *>(actual), 8);
    }
}
#endif

} // namespace motor
