// Power spectrum, radial profile and log-log line fit of one image.
#include "analysis/Varnoth_analysis.h"
#include "radial/Varnoth_radial.h"
#include "regression/Varnoth_regression.h"
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"

// With F the centred 2-D transform of img and P its radial profile:
//   imgFT[i] = (|F[i]| / 16384)^2,
//   imgPS[k] = mean of the non-NaN imgFT values at rounded radius k,
//   regress  = least-squares line through (ln(1 + 1.546875 k), ln P[k]) over
//              the bins with finite ln P[k] (see loglog_points), fitted only
//              when trueCount > 1; otherwise {0.0, 0.0}.
// A fit is never made on fewer than two points, so polyfit's m >= 2.
//
// Arguments:
//   SD      the work record, lent to f_ImageFFTPower (SD->f2.x; SD->u1.f0
//           too when img lies in SD->f2.x) and to
//           f_RadialAverageSpectra, which uses none of it.
//   img     on entry, the image; unchanged.
//   imgFT   on exit, the power spectrum.
//   imgPS   on exit, the radial profile.
//   regress on exit, {slope, intercept} or {0.0, 0.0}.
void profile_line_fit(VarnothStackData* SD, const real_T img[16384],
                      real_T imgFT[16384], real_T imgPS[65],
                      real_T regress[2]) {
  varnoth_parallel::region([&] {
    f_ImageFFTPower(SD, img, imgFT);
    varnoth_parallel::single([&] {
      f_RadialAverageSpectra(SD, imgFT, imgPS);
      profile_line(imgPS, regress);
    });
  });
}
