// UTF-8 as Unicode defines it (no overlong forms, no encoded surrogates,
// nothing past U+10FFFF), and Windows-1252, the code page of the order files
// and of the log.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace motor {

// Where the first byte of 0x80 or above is, or the text's size: sixteen bytes
// at a time where the processor has SSE2, since every line of a flat file is
// asked.
inline std::size_t PrimerNoAscii(std::string_view texto)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= texto.size(); i += 16) {
        const int altos = _mm_movemask_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(texto.data() + i)));
        if (altos != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(altos)));
        }
    }
#endif
    while (i < texto.size() && static_cast<unsigned char>(texto[i]) < 0x80) {
        ++i;
    }
    return i;
}

// The length a lead byte announces and the range of the byte after it (no
// overlong forms, no surrogates, nothing past U+10FFFF); length 0 for a byte
// that leads nothing.
struct SecuenciaUtf8
{
    std::size_t largo;
    unsigned char minimo, maximo;
};

inline SecuenciaUtf8 SecuenciaDe(unsigned char inicial)
{
    if (inicial < 0x80) {
        return { 1, 0, 0 };
    }
    if (inicial >= 0xC2 && inicial <= 0xDF) {
        return { 2, 0x80, 0xBF };
    }
    if (inicial >= 0xE0 && inicial <= 0xEF) {
        return { 3, static_cast<unsigned char>(inicial == 0xE0 ? 0xA0 : 0x80),
            static_cast<unsigned char>(inicial == 0xED ? 0x9F : 0xBF) };
    }
    if (inicial >= 0xF0 && inicial <= 0xF4) {
        return { 4, static_cast<unsigned char>(inicial == 0xF0 ? 0x90 : 0x80),
            static_cast<unsigned char>(inicial == 0xF4 ? 0x8F : 0xBF) };
    }
    return { 0, 0, 0 };
}

// The length of the valid UTF-8 character at the start of the text; 0 if none.
inline std::size_t LargoCaracterUtf8(std::string_view texto)
{
    if (texto.empty()) {
        return 0;
    }
    const SecuenciaUtf8 secuencia = SecuenciaDe(static_cast<unsigned char>(texto[0]));
    if (secuencia.largo == 0 || texto.size() < secuencia.largo) {
        return 0;
    }
    for (std::size_t i = 1; i < secuencia.largo; ++i) {
        const auto byte = static_cast<unsigned char>(texto[i]);
        const bool enRango = i == 1 ? byte >= secuencia.minimo && byte <= secuencia.maximo
                                    : byte >= 0x80 && byte <= 0xBF;
        if (!enRango) {
            return 0;
        }
    }
    return secuencia.largo;
}

// The length of the valid UTF-8 text at the start of the text. Inline, as
// every flat line beyond ASCII is asked: runs of ASCII are passed over at
// once, and a Windows-1252 accent ends it at its first byte.
inline std::size_t TramoUtf8Valido(std::string_view texto)
{
    std::size_t largo = 0;
    while (largo < texto.size()) {
        largo += PrimerNoAscii(texto.substr(largo));
        if (largo == texto.size()) {
            break;
        }
        const std::size_t caracter = LargoCaracterUtf8(texto.substr(largo));
        if (caracter == 0) {
            break;
        }
        largo += caracter;
    }
    return largo;
}

// UTF-8 as Windows-1252 bytes, appended; a character the code page lacks,
// or a malformed sequence, becomes "?".
void AnadirWindows1252(std::string_view utf8, std::string &bytes);
std::string Windows1252(std::string_view utf8);

// The character of a Windows-1252 byte. The five bytes the code page leaves
// undefined stand for U+0081, U+008D, U+008F, U+0090 and U+009D, as Windows
// maps them.
char32_t CaracterWindows1252(unsigned char byte);
// The character of an ISO-8859-15 (Latin-9) byte.
char32_t CaracterLatin9(unsigned char byte);

} // namespace motor
