#include "FinDeLinea.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>

#include <cstdint>
#endif

namespace motor::fin_de_linea {

#if defined(__GNUC__) && defined(__x86_64__)
__attribute__((target("avx2"))) const char *Avx2(
    const char *desde, const char *hasta, const char *&alto)
{
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const char *primerAlto = alto; // kept in a register, not through the reference
    for (; hasta - desde >= 32; desde += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(desde));
        const auto fines = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(bytes, cr), _mm256_cmpeq_epi8(bytes, lf))));
        auto altos = static_cast<unsigned>(_mm256_movemask_epi8(bytes));
        if (fines != 0) {
            // Below 32: the shift stays inside the 32 bits, as 1ULL keeps it.
            altos &= static_cast<unsigned>((1ULL << __builtin_ctz(fines)) - 1);
        }
        if (altos != 0 && primerAlto == nullptr) [[unlikely]] {
            primerAlto = PrimerMarcado(desde, altos);
        }
        if (fines != 0) {
            alto = primerAlto;
            return PrimerMarcado(desde, fines);
        }
    }
    alto = primerAlto;
    return Sse2(desde, hasta, alto);
}

__attribute__((target("avx512f,avx512bw"))) const char *Avx512(
    const char *desde, const char *hasta, const char *&alto)
{
    const __m512i cr = _mm512_set1_epi8('\r');
    const __m512i lf = _mm512_set1_epi8('\n');
    const char *primerAlto = alto;
    for (; hasta - desde >= 64; desde += 64) {
        const __m512i bytes = _mm512_loadu_si512(desde);
        const std::uint64_t fines
            = _mm512_cmpeq_epi8_mask(bytes, cr) | _mm512_cmpeq_epi8_mask(bytes, lf);
        std::uint64_t altos = _mm512_movepi8_mask(bytes);
        if (fines != 0) {
            altos &= (fines & (0 - fines)) - 1; // the bits below the first line end
        }
        if (altos != 0 && primerAlto == nullptr) [[unlikely]] {
            primerAlto = desde + __builtin_ctzll(altos);
        }
        if (fines != 0) {
            alto = primerAlto;
            return desde + __builtin_ctzll(fines);
        }
    }
    alto = primerAlto;
    return Avx2(desde, hasta, alto);
}

bool ConAvx2()
{
    return __builtin_cpu_supports("avx2");
}

bool ConAvx512()
{
    return __builtin_cpu_supports("avx512bw");
}
#else
const char *Avx2(const char *desde, const char *hasta, const char *&alto)
{
    return Sse2(desde, hasta, alto);
}

const char *Avx512(const char *desde, const char *hasta, const char *&alto)
{
    return Sse2(desde, hasta, alto);
}

bool ConAvx2()
{
    return false;
}

bool ConAvx512()
{
    return false;
}
#endif

Buscador MejorBuscador()
{
    return ConAvx512() ? Avx512 : ConAvx2() ? Avx2 : Sse2;
}

} // namespace motor::fin_de_linea
