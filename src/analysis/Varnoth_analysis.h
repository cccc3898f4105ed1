// The analyses of one image, composed from the layers below them: the power
// spectrum (spectral), its radial profile (radial) and the log-log line fit
// (regression).
#ifndef VARNOTH_ANALYSIS_H
#define VARNOTH_ANALYSIS_H

#include "Varnoth_api.h"
#include "Varnoth_types.h"

extern "C" {
// The whole chain: imgWD = img; imgFT = power spectrum of img; imgPS = its
// radial profile; *psSlope = slope of the log-log profile (0.0 when fewer
// than two profile values are positive).
VARNOTH_API void f_PSD_Processing(VarnothStackData* SD, const real_T img[16384],
                                  real_T* psSlope, real_T imgPS[65],
                                  real_T imgFT[16384], real_T imgWD[16384]);

// Slope of the log-log line fit of img's radial power spectrum; 0.0 when
// fewer than two profile values are positive. Scratch: SD->u4.f7.
VARNOTH_API real_T f_PSD_Slope(VarnothStackData* SD, const real_T img[16384]);

// regress = {slope, intercept} of the same fit; {0.0, 0.0} when fewer than
// two profile values are positive. Scratch: SD->u4.f6.
VARNOTH_API void f_PSD_LinearRegression(VarnothStackData* SD,
                                        const real_T img[16384],
                                        real_T regress[2]);
}

// The steps common to the processing chain, the slope and the regression:
//   imgFT = power spectrum of img    (f_ImageFFTPower)
//   imgPS = radial profile of imgFT  (f_RadialAverageSpectra)
//   regress = {0.0, 0.0}, then, when more than one profile value is
//   positive, the line fit (polyfit) of the log-log points of imgPS.
// Scratch: SD->f2.x, and SD->u1.f0 when img lies in SD->f2.x; imgFT must
// lie in neither (SD->u4 or a caller's buffer will do).
void profile_line_fit(VarnothStackData* SD, const real_T img[16384],
                      real_T imgFT[16384], real_T imgPS[65], real_T regress[2]);

// profile_line_fit for an image held row by row: imgT[128 r + c] is
// element (r, c), and the power spectrum comes out row by row as well
// (imgFTT[128 r + c]); imgPS and regress are profile_line_fit's, bit for
// bit. Scratch: SD->f2.x only; imgT and imgFTT must not lie in it.
void profile_line_fit_by_rows(VarnothStackData* SD, const real_T imgT[16384],
                              real_T imgFTT[16384], real_T imgPS[65],
                              real_T regress[2]);

#endif
