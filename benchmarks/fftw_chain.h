// The peer chain on FFTW's real-input 2-D transform: the same outputs as
// f_PSD_Processing (the copy, the centred power spectrum, the radial profile
// and the slope), by the fastest route FFTW offers. Not bit-exact with the
// library: its transform adds in another order. A benchmark-only
// dependency, never linked into the library.
#ifndef VARNOTH_BENCH_FFTW_CHAIN_H
#define VARNOTH_BENCH_FFTW_CHAIN_H

#include "Varnoth_types.h"

class FftwChain {
 public:
  FftwChain();
  ~FftwChain();
  FftwChain(const FftwChain&) = delete;
  FftwChain& operator=(const FftwChain&) = delete;

  // img and the outputs column-major, as the library's.
  void run(const real_T img[16384], real_T* psSlope, real_T imgPS[65],
           real_T imgFT[16384], real_T imgWD[16384]);

 private:
  struct Impl;
  Impl* impl_;
};

#endif
