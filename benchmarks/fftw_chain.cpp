#include "fftw_chain.h"

#include <fftw3.h>

#include <mutex>

#include "radial/Varnoth_radial.h"
#include "regression/Varnoth_regression.h"

struct FftwChain::Impl {
  double* in;
  fftw_complex* out;  // 128 x 65, the non-negative half of the second index
  fftw_plan plan;
};

namespace {
// FFTW's planner is not thread-safe; executing a plan is.
std::mutex planner_lock;
}  // namespace

FftwChain::FftwChain() : impl_(new Impl) {
  std::lock_guard<std::mutex> hold(planner_lock);
  impl_->in = fftw_alloc_real(kImageSize);
  impl_->out = fftw_alloc_complex(128 * 65);
  impl_->plan =
      fftw_plan_dft_r2c_2d(128, 128, impl_->in, impl_->out, FFTW_MEASURE);
}

FftwChain::~FftwChain() {
  std::lock_guard<std::mutex> hold(planner_lock);
  fftw_destroy_plan(impl_->plan);
  fftw_free(impl_->out);
  fftw_free(impl_->in);
  delete impl_;
}

// FFTW's 2-D arrays are row-major; the library's image at r + 128 c is,
// read row-major, the transposed image, whose transform is the transposed
// spectrum: out[c][u] is F(u, c) for u = 0..64, and F(u, c) for u > 64 is
// the conjugate of F(128 - u, (128 - c) mod 128).
void FftwChain::run(const real_T img[16384], real_T* psSlope, real_T imgPS[65],
                    real_T imgFT[16384], real_T imgWD[16384]) {
  for (int i = 0; i < kImageSize; i++) {
    imgWD[i] = img[i];
    impl_->in[i] = img[i];
  }
  fftw_execute(impl_->plan);
  const double scale = 1.0 / (16384.0 * 16384.0);
  for (int c = 0; c < 128; c++) {
    const fftw_complex* col = &impl_->out[65 * c];
    const int cs = (c + 64) & 127;
    const int cm = (192 - c) & 127;  // centred column of -c
    for (int u = 0; u <= 64; u++) {
      const double p = (col[u][0] * col[u][0] + col[u][1] * col[u][1]) * scale;
      imgFT[((u + 64) & 127) + 128 * cs] = p;
      if (u > 0 && u < 64) imgFT[((64 - u) & 127) + 128 * cm] = p;
    }
  }
  f_RadialAverageSpectra(nullptr, imgFT, imgPS);
  real_T regress[2];
  profile_line(imgPS, regress);
  *psSlope = regress[0];
}
