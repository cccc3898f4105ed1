// The state that accompanies emlrtNestLockGlobal.
#ifndef VARNOTH_DATA_H
#define VARNOTH_DATA_H

#include <atomic>

// true while emlrtNestLockGlobal is initialised. OpenMP forbids
// initialising an initialised lock or destroying an uninitialised one, so
// initialisation and destruction each happen only on a change of this flag.
extern std::atomic<bool> emlrtNestLockReady;

#endif
