// Finding the next line end (CR or LF) in a block of bytes: most of the cost
// of reading an order file, so it goes as wide as the processor allows.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace motor::fin_de_linea {

// Each gives the first CR or LF in [desde, hasta), or hasta, and sets altos
// when a byte of 0x80 or above stands before it (a line that may not be
// ASCII): the bytes are looked at once for both.

inline const char *ByteAByte(const char *desde, const char *hasta, bool &altos)
{
    while (desde != hasta && *desde != '\r' && *desde != '\n') {
        altos = altos || static_cast<unsigned char>(*desde) >= 0x80;
        ++desde;
    }
    return desde;
}

// Sixteen bytes at a time where the processor has SSE2.
inline const char *Sse2(const char *desde, const char *hasta, bool &altos)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    unsigned vistos = 0;
    for (; hasta - desde >= 16; desde += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(desde));
        const auto fines = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        const auto aqui = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        if (fines != 0) {
            const int fin = __builtin_ctz(fines);
            altos = altos || (vistos | (aqui & ((1U << fin) - 1))) != 0;
            return desde + fin;
        }
        vistos |= aqui;
    }
    altos = altos || vistos != 0;
#endif
    return ByteAByte(desde, hasta, altos);
}

// Thirty-two bytes at a time; call it only where ConAvx2() is true. A reader
// asks ConAvx2() once and keeps the answer.
const char *Avx2(const char *desde, const char *hasta, bool &altos);
bool ConAvx2();

} // namespace motor::fin_de_linea
