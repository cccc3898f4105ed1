// Radial analysis: the ring geometry and the radial average of a spectrum.
#ifndef VARNOTH_RADIAL_H
#define VARNOTH_RADIAL_H

#include "Varnoth_api.h"
#include "Varnoth_types.h"

extern "C" {
// xx(r, c) = x[c], yy(r, c) = y[r] for 128-element x and y.
VARNOTH_API void meshgrid(const real_T x[128], const real_T y[128],
                          real_T xx[16384], real_T yy[16384]);

// th[n] = rt_atan2d_snf(y[n], x[n]); r[n] = rt_hypotd_snf(x[n], y[n]).
VARNOTH_API void cart2pol(const real_T x[16384], const real_T y[16384],
                          real_T th[16384], real_T r[16384]);

// Mean of the non-NaN elements in index order; rtNaN when there are none.
VARNOTH_API real_T nanmean(const emxArray_real_T* varargin_1);

// ret[k] = mean of the non-NaN ftArr elements whose distance from (64, 64)
// rounds (half up) to k, summed in ascending index order from 0.0; rtNaN for
// a ring without such elements; k = 0..64. SD is not used (ftArr may lie
// anywhere; callers keep it out of SD->u1.f1 for the reference below). No
// allocation, no exceptions.
VARNOTH_API void f_RadialAverageSpectra(VarnothStackData* SD,
                                        const real_T ftArr[16384],
                                        real_T ret[65]);

// The same 65 results bit for bit, computed the straightforward way through
// meshgrid, cart2pol, b_round, growable index lists and nanmean; the
// reference for the tests and the benchmark, not exported. Scratch:
// SD->u1.f1 (ftArr must not lie in it); 128 KiB of stack. If a growable
// array cannot grow, std::bad_alloc propagates after every array the call
// allocated has been freed.
void f_RadialAverageSpectra_reference(VarnothStackData* SD,
                                      const real_T ftArr[16384],
                                      real_T ret[65]);
}

// f_RadialAverageSpectra of the spectrum held row by row: pt[128 r + c] is
// element (r, c). The same 65 values bit for bit; not exported.
void radial_average_by_rows(const real_T pt[16384], real_T ret[65]);

#endif
