// Numeric runtime: non-finite values, library state, scalar and element-wise
// helpers, growable arrays.
#ifndef VARNOTH_RUNTIME_H
#define VARNOTH_RUNTIME_H

#include <omp.h>

#include "Varnoth_api.h"
#include "Varnoth_types.h"

extern "C" {
// The six non-finite values. They hold their values from the moment the
// library is loaded (constant initialisation); rt_InitInfAndNaN sets them
// again to the same bits. On little-endian machines:
//   rtNaN 0xFFF8000000000000 (quiet NaN, sign bit set), rtInf
//   0x7FF0000000000000, rtMinusInf 0xFFF0000000000000, rtNaNF 0xFFC00000,
//   rtInfF 0x7F800000, rtMinusInfF 0xFF800000.
extern VARNOTH_API real_T rtInf;
extern VARNOTH_API real_T rtMinusInf;
extern VARNOTH_API real_T rtNaN;
extern VARNOTH_API real32_T rtInfF;
extern VARNOTH_API real32_T rtMinusInfF;
extern VARNOTH_API real32_T rtNaNF;

// The library's nestable lock: initialised by Varnoth_initialize, destroyed
// by Varnoth_terminate, never set or unset.
extern VARNOTH_API omp_nest_lock_t emlrtNestLockGlobal;

// Sets the six non-finite values; realSize (bytes of a real_T) is unused.
VARNOTH_API void rt_InitInfAndNaN(std::size_t realSize);

// Sets the non-finite values, then initialises emlrtNestLockGlobal. A
// repeated call leaves an initialised lock as it is.
VARNOTH_API void Varnoth_initialize(void);

// Destroys emlrtNestLockGlobal if it is initialised; the non-finite values
// keep theirs.
VARNOTH_API void Varnoth_terminate(void);

// Angle of the point (u1, u0) in radians, with fixed answers for NaN
// (rtNaN), two infinities (+-pi/4, +-3pi/4) and a zero abscissa (+-pi/2 or
// +0.0); otherwise atan2(u0, u1).
VARNOTH_API real_T rt_atan2d_snf(real_T u0, real_T u1);

// sqrt(u0^2 + u1^2), scaled so that no square overflows or underflows; NaN
// if either argument is NaN and neither is larger.
VARNOTH_API real_T rt_hypotd_snf(real_T u0, real_T u1);

// true when x is neither infinite nor NaN.
VARNOTH_API boolean_T b_isfinite(real_T x);

// x[k] = log(x[k]) for k = 0..64, in place.
VARNOTH_API void b_log(real_T x[65]);

// x[k] rounded half away from zero, k = 0..16383, in place.
VARNOTH_API void b_round(real_T x[16384]);

// y[k] = rt_hypotd_snf(x[k].re, x[k].im), k = 0..16383.
VARNOTH_API void b_abs(const creal_T x[16384], real_T y[16384]);

// y[k] = rt_atan2d_snf(x[k].im, x[k].re), k = 0..16383.
VARNOTH_API void angle(const creal_T x[16384], real_T y[16384]);

// y[k] = a[k] * a[k], k = 0..16383; y may be the same array as a.
VARNOTH_API void power(const real_T a[16384], real_T y[16384]);

// Growable arrays (all one-dimensional in this library). A resize follows
// one protocol: read the count in use (size[0]) as oldNumel, write the new
// extents into size, then call emxEnsureCapacity(array, oldNumel, bytes per
// element). Capacities run 16, 32, ..., 2^30, then 2^31 - 1; the buffer
// never shrinks, and after a growth the elements from oldNumel on are zero.
// Freeing sets the caller's pointer to null; freeing null does nothing.
//
// Allocation failure throws std::bad_alloc (turned into
// java.lang.OutOfMemoryError at the JNI boundary) and never writes through a
// null pointer: emxInit_* leaves *pEmxArray null; emxEnsureCapacity leaves
// data, its contents and allocatedSize unchanged, so the array stays
// freeable; emxInitMatrix_cell_wrap_0 frees the cells it had made and leaves
// all 65 null. Element counts above 2^31 - 1 also throw std::bad_alloc.
VARNOTH_API void emxInit_real_T(emxArray_real_T** pEmxArray, int numDimensions);
VARNOTH_API void emxInit_int32_T(emxArray_int32_T** pEmxArray,
                                 int numDimensions);
VARNOTH_API void emxEnsureCapacity(emxArray__common* emxArray, int oldNumel,
                                   int elementSize);
VARNOTH_API void emxFree_real_T(emxArray_real_T** pEmxArray);
VARNOTH_API void emxFree_int32_T(emxArray_int32_T** pEmxArray);
VARNOTH_API void emxInitMatrix_cell_wrap_0(cell_wrap_0 pMatrix[65]);
VARNOTH_API void emxFreeMatrix_cell_wrap_0(cell_wrap_0 pMatrix[65]);
}

// Non-finite getters and tests (C++ linkage).
VARNOTH_API real_T rtGetNaN(void);
VARNOTH_API real32_T rtGetNaNF(void);
VARNOTH_API real_T rtGetInf(void);
VARNOTH_API real32_T rtGetInfF(void);
VARNOTH_API real_T rtGetMinusInf(void);
VARNOTH_API real32_T rtGetMinusInfF(void);
VARNOTH_API boolean_T rtIsInf(real_T value);
VARNOTH_API boolean_T rtIsInfF(real32_T value);
VARNOTH_API boolean_T rtIsNaN(real_T value);
VARNOTH_API boolean_T rtIsNaNF(real32_T value);

#endif
