// The processing chain in its literal, straightforward form: the reference
// forms that the fast routines are tested against, composed as the chain
// composes the fast ones. The peer the speed-ups are measured from; it
// gives the library's results bit for bit.
#ifndef VARNOTH_BENCH_LITERAL_CHAIN_H
#define VARNOTH_BENCH_LITERAL_CHAIN_H

#include "Varnoth_types.h"

void literal_chain(VarnothStackData* SD, const real_T img[16384],
                   real_T* psSlope, real_T imgPS[65], real_T imgFT[16384],
                   real_T imgWD[16384]);

#endif
