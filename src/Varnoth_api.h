// Linkage, visibility and the loop-parallelism switch shared by every unit.
#ifndef VARNOTH_API_H
#define VARNOTH_API_H

// The library is compiled with hidden visibility; what it exports is marked.
#if defined(_WIN32)
// The Windows DLL exports only the Java native methods (JNIEXPORT).
#define VARNOTH_API
#else
#define VARNOTH_API __attribute__((visibility("default")))
#endif

// Loops whose iterations each write only their own elements may run on
// several OpenMP threads with a static split (the Windows build defines
// VARNOTH_PARALLEL_LOOPS). Every iteration repeats the sequential arithmetic
// exactly, so the results do not depend on the split. Such a loop shares its
// iterations among the team of the parallel region that the computing
// function runs in (runtime/parallel_region.h): one region per call, each
// loop a work-sharing loop inside it, ending in a barrier.
#if defined(VARNOTH_PARALLEL_LOOPS)
#include <omp.h>
#define VARNOTH_PARALLEL_FOR _Pragma("omp for schedule(static)")
#else
#define VARNOTH_PARALLEL_FOR
#endif

#endif
