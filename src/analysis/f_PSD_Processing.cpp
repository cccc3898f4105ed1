// The whole analysis of one image in one call.
#include <cstring>

#include "analysis/Varnoth_analysis.h"
#include "runtime/parallel_region.h"

// Runs, in this order:
//   imgWD = img                          (bit for bit; no window, no mean
//                                         removal, here or before the
//                                         transform)
//   imgFT = power spectrum of img        (f_ImageFFTPower, centred)
//   imgPS = radial profile of imgFT      (f_RadialAverageSpectra)
//   *psSlope = slope of the least-squares line through the log-log points
//              of imgPS (loglog_points), or 0.0 when fewer than two profile
//              values are positive (no fit is made then).
// The intercept is not passed on. All four outputs are written on every
// call.
//
// Arguments:
//   SD      scratch of the transform and the radial average; the chain
//           itself uses no member.
//   img     on entry, the image; unchanged.
//   psSlope on exit, the slope.
//   imgPS   on exit, the 65-value radial profile.
//   imgFT   on exit, the centred power spectrum.
//   imgWD   on exit, a copy of img.
void f_PSD_Processing(VarnothStackData* SD, const real_T img[16384],
                      real_T* psSlope, real_T imgPS[65], real_T imgFT[16384],
                      real_T imgWD[16384]) {
  real_T regress[2];
  varnoth_parallel::region([&] {
    varnoth_parallel::single(
        [&] { std::memmove(imgWD, img, sizeof(real_T) * kImageSize); });
    profile_line_fit(SD, img, imgFT, imgPS, regress);
  });
  *psSlope = regress[0];
}
