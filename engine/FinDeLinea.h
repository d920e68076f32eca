// Finding the next line end (CR or LF) in a block of bytes: most of the cost
// of reading an order file, so it goes as wide as the processor allows.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace modMain::fin_de_linea {

// Each gives the first CR or LF in [desde, hasta), or hasta.

inline const char *ByteAByte(const char *desde, const char *hasta)
{
    while (desde != hasta && *desde != '\r' && *desde != '\n') {
        ++desde;
    }
    return desde;
}

// Sixteen bytes at a time where the processor has SSE2.
inline const char *Sse2(const char *desde, const char *hasta)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; hasta - desde >= 16; desde += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(desde));
        const int fines
            = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (fines != 0) {
            return desde + __builtin_ctz(static_cast<unsigned>(fines));
        }
    }
#endif
    return ByteAByte(desde, hasta);
}

// Thirty-two bytes at a time; call it only where ConAvx2() is true. A reader
// asks ConAvx2() once and keeps the answer.
const char *Avx2(const char *desde, const char *hasta);
bool ConAvx2();

} // namespace modMain::fin_de_linea
