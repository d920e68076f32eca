// Finding the next line end (CR or LF) in a block of bytes: most of the cost
// of reading an order file, so it goes as wide as the processor allows.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace motor::fin_de_linea {

// Each gives the first CR or LF in [desde, hasta), or hasta, and points alto
// at the first byte of 0x80 or above before it, unless alto already points
// somewhere (a line that may not be ASCII, and where to look first): the
// bytes are looked at once for both.

inline const char *ByteAByte(const char *desde, const char *hasta, const char *&alto)
{
    while (desde != hasta && *desde != '\r' && *desde != '\n') {
        if (alto == nullptr && static_cast<unsigned char>(*desde) >= 0x80) {
            alto = desde;
        }
        ++desde;
    }
    return desde;
}

// The first set bit of a byte mask as a pointer into the 16 or 32 bytes at desde.
inline const char *PrimerMarcado(const char *desde, unsigned mascara)
{
    return desde + __builtin_ctz(mascara);
}

// Sixteen bytes at a time where the processor has SSE2.
inline const char *Sse2(const char *desde, const char *hasta, const char *&alto)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; hasta - desde >= 16; desde += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(desde));
        const auto fines = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        auto altos = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        if (fines != 0) {
            altos &= (1U << __builtin_ctz(fines)) - 1;
        }
        if (altos != 0 && alto == nullptr) {
            alto = PrimerMarcado(desde, altos);
        }
        if (fines != 0) {
            return PrimerMarcado(desde, fines);
        }
    }
#endif
    return ByteAByte(desde, hasta, alto);
}

// Thirty-two bytes at a time; call it only where ConAvx2() is true. A reader
// asks ConAvx2() once and keeps the answer.
const char *Avx2(const char *desde, const char *hasta, const char *&alto);
bool ConAvx2();
// Sixty-four bytes at a time; only where ConAvx512() is true.
const char *Avx512(const char *desde, const char *hasta, const char *&alto);
bool ConAvx512();

using Buscador = const char *(*)(const char *, const char *, const char *&);
// The widest of the above this processor has; a reader asks once.
Buscador MejorBuscador();

} // namespace motor::fin_de_linea
