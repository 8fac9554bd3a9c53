#include "plan/relax.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define HENGCHI_X86_VECTORS 1
#endif

namespace plan {
namespace {

void relaxPlain(const double* base, const double* shifted, double* out, std::uint8_t* mark,
                std::size_t count, double worth) {
    for (std::size_t k = 0; k < count; ++k) {
        const double with = shifted[k] + worth;
        const bool better = with > base[k];
        out[k] = better ? with : base[k];
        mark[k] = better ? 1 : 0;
    }
}

#ifdef HENGCHI_X86_VECTORS

// Four marks as four bytes, indexed by the comparison's bit mask.
constexpr std::uint32_t kMarks[16] = {
    0x00000000, 0x00000001, 0x00000100, 0x00000101, 0x00010000, 0x00010001, 0x00010100, 0x00010101,
    0x01000000, 0x01000001, 0x01000100, 0x01000101, 0x01010000, 0x01010001, 0x01010100, 0x01010101,
};

__attribute__((target("avx2"))) void relaxAvx2(const double* base, const double* shifted,
                                               double* out, std::uint8_t* mark, std::size_t count,
                                               double worth) {
    const __m256d add = _mm256_set1_pd(worth);
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m256d old = _mm256_loadu_pd(base + k);
        const __m256d with = _mm256_add_pd(_mm256_loadu_pd(shifted + k), add);
        const __m256d better = _mm256_cmp_pd(with, old, _CMP_GT_OQ);
        _mm256_storeu_pd(out + k, _mm256_blendv_pd(old, with, better));
        const std::uint32_t marks = kMarks[_mm256_movemask_pd(better)];
        std::memcpy(mark + k, &marks, 4);
    }
    relaxPlain(base + k, shifted + k, out + k, mark + k, count - k, worth);
}

void relaxSse2(const double* base, const double* shifted, double* out, std::uint8_t* mark,
               std::size_t count, double worth) {
    const __m128d add = _mm_set1_pd(worth);
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m128d old0 = _mm_loadu_pd(base + k);
        const __m128d old1 = _mm_loadu_pd(base + k + 2);
        const __m128d with0 = _mm_add_pd(_mm_loadu_pd(shifted + k), add);
        const __m128d with1 = _mm_add_pd(_mm_loadu_pd(shifted + k + 2), add);
        const __m128d better0 = _mm_cmpgt_pd(with0, old0);
        const __m128d better1 = _mm_cmpgt_pd(with1, old1);
        _mm_storeu_pd(out + k, _mm_or_pd(_mm_and_pd(better0, with0), _mm_andnot_pd(better0, old0)));
        _mm_storeu_pd(out + k + 2,
                      _mm_or_pd(_mm_and_pd(better1, with1), _mm_andnot_pd(better1, old1)));
        const std::uint32_t marks =
            kMarks[_mm_movemask_pd(better0) | (_mm_movemask_pd(better1) << 2)];
        std::memcpy(mark + k, &marks, 4);
    }
    relaxPlain(base + k, shifted + k, out + k, mark + k, count - k, worth);
}

using Kernel = void (*)(const double*, const double*, double*, std::uint8_t*, std::size_t, double);

Kernel chooseKernel() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? relaxAvx2 : relaxSse2;
}

#endif

} // namespace

void relax(const double* base, const double* shifted, double* out, std::uint8_t* mark,
           std::size_t count, double worth) {
#ifdef HENGCHI_X86_VECTORS
    // Chosen once; the choice depends on the processor only, so every thread makes the same.
    static const Kernel kernel = chooseKernel();
    kernel(base, shifted, out, mark, count, worth);
#else
    relaxPlain(base, shifted, out, mark, count, worth);
#endif
}

} // namespace plan
