#include "FinDeLinea.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace motor::fin_de_linea {

#if defined(__GNUC__) && defined(__x86_64__)
__attribute__((target("avx2"))) const char *Avx2(
    const char *desde, const char *hasta, const char *&alto)
{
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    for (; hasta - desde >= 32; desde += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(desde));
        const auto fines = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(bytes, cr), _mm256_cmpeq_epi8(bytes, lf))));
        auto altos = static_cast<unsigned>(_mm256_movemask_epi8(bytes));
        if (fines != 0) {
            // Below 32: the shift stays inside the 32 bits, as 1ULL keeps it.
            altos &= static_cast<unsigned>((1ULL << __builtin_ctz(fines)) - 1);
        }
        if (altos != 0 && alto == nullptr) {
            alto = PrimerMarcado(desde, altos);
        }
        if (fines != 0) {
            return PrimerMarcado(desde, fines);
        }
    }
    return Sse2(desde, hasta, alto);
}

bool ConAvx2()
{
    return __builtin_cpu_supports("avx2");
}
#else
const char *Avx2(const char *desde, const char *hasta, const char *&alto)
{
    return Sse2(desde, hasta, alto);
}

bool ConAvx2()
{
    return false;
}
#endif

} // namespace motor::fin_de_linea
