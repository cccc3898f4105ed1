// Regression line of the log-log radial power spectrum of an image.
#include "analysis/Varnoth_analysis.h"

// Writes regress = {slope, intercept} of the least-squares line through the
// points (ln(1 + 1.546875 k), ln P[k]) of the radial power profile P of
// img; {0.0, 0.0} when fewer than two profile values are positive, with no
// fit made. The intercept is in natural-log units of power.
//
// Arguments:
//   SD      on entry, a work record; SD->u4.f6.imgFT receives the power
//           spectrum, and the called routines use their own members.
//   img     on entry, the image; unchanged.
//   regress on exit, the two coefficients.
void f_PSD_LinearRegression(VarnothStackData* SD, const real_T img[16384],
                            real_T regress[2]) {
  real_T imgPS[65];
  profile_line_fit(SD, img, SD->u4.f6.imgFT, imgPS, regress);
}
