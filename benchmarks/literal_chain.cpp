#include "literal_chain.h"

#include "radial/Varnoth_radial.h"
#include "regression/Varnoth_regression.h"
#include "spectral/fft_reference.h"

void literal_chain(VarnothStackData* SD, const real_T img[16384],
                   real_T* psSlope, real_T imgPS[65], real_T imgFT[16384],
                   real_T imgWD[16384]) {
  for (int i = 0; i < kImageSize; i++) imgWD[i] = img[i];
  f_ImageFFTPower_reference(SD, img, imgFT);
  f_RadialAverageSpectra_reference(SD, imgFT, imgPS);
  real_T regress[2];
  profile_line(imgPS, regress);
  *psSlope = regress[0];
}
