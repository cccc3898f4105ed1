// Slope of the log-log radial power spectrum of an image.
#include "analysis/Varnoth_analysis.h"

// Returns the slope of the least-squares line through the points
// (ln(1 + 1.546875 k), ln P[k]) of the radial power profile P of img, as
// the fit gives it (a power falling with frequency gives a negative slope);
// 0.0 when fewer than two profile values are positive, with no fit made.
// Equals f_PSD_LinearRegression's regress[0] bit for bit.
//
// Arguments:
//   SD  on entry, a work record; SD->u4.f7.imgFT receives the power
//       spectrum, and the called routines use their own members.
//   img on entry, the image; unchanged.
real_T f_PSD_Slope(VarnothStackData* SD, const real_T img[16384]) {
  real_T imgPS[65];
  real_T regress[2];
  profile_line_fit(SD, img, SD->u4.f7.imgFT, imgPS, regress);
  return regress[0];
}
