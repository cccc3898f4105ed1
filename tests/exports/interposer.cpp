// A library of the test's own that defines, with C linkage, functions of
// the same names as Varnoth_JNI's exported ones, as another library loaded
// with RTLD_GLOBAL (or LD_PRELOAD) might. Each only counts its calls and
// returns nothing useful, so a call that reached one of them instead of the
// library's own routine would show in the count and in the results.
// Only the names matter to the dynamic linker; the parameter types here are
// the library's, spelled out, so that nothing of the library is included.
typedef double real_T;
struct creal_T {
  real_T re, im;
};
struct VarnothStackData;

extern "C" {
__attribute__((visibility("default"))) int interposer_calls = 0;

#define COUNTED(signature, result)                   \
  __attribute__((visibility("default"))) signature { \
    interposer_calls++;                              \
    return result;                                   \
  }

COUNTED(void fft(VarnothStackData*, const real_T*, creal_T*), )
COUNTED(void fft2(VarnothStackData*, const real_T*, creal_T*), )
COUNTED(void fftshift(creal_T*), )
COUNTED(void angle(const creal_T*, real_T*), )
COUNTED(void power(const real_T*, real_T*), )
COUNTED(void b_abs(const creal_T*, real_T*), )
COUNTED(void f_ImageFFTPower(VarnothStackData*, const real_T*, real_T*), )
COUNTED(void f_RadialAverageSpectra(VarnothStackData*, const real_T*,
                                    real_T*), )
COUNTED(void polyfit(const real_T*, const int*, const real_T*, const int*,
                     real_T*), )
COUNTED(void xgeqp3(real_T*, const int*, real_T*, int*, int*), )
COUNTED(real_T xnrm2(int, const real_T*, int), 0.0)
COUNTED(real_T b_xnrm2(int, const real_T*, int), 0.0)
COUNTED(void xswap(int, real_T*, int, int), )
COUNTED(real_T rt_hypotd_snf(real_T, real_T), 0.0)
COUNTED(real_T rt_atan2d_snf(real_T, real_T), 0.0)
}
