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

namespace modMain {

// The length of the valid UTF-8 character at the start of the text; 0 if none.
std::size_t LargoCaracterUtf8(std::string_view texto);
// The length of the valid UTF-8 text at the start of the text.
std::size_t TramoUtf8Valido(std::string_view texto);
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

// Whether every byte is below 0x80; such text is the same in UTF-8 and
// Windows-1252.
inline bool TodoAscii(std::string_view texto)
{
    return PrimerNoAscii(texto) == texto.size();
}
// Valid UTF-8 with at least one character beyond ASCII: a text saved as UTF-8
// (Windows-1252 text with accents is almost never valid UTF-8).
bool EsUtf8NoAscii(std::string_view texto);

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

} // namespace modMain
