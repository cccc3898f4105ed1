// One OpenMP parallel region per computing call. Internal to the library.
//
// With VARNOTH_PARALLEL_LOOPS each computing function that has parallel
// loops (VARNOTH_PARALLEL_FOR) runs its body through region(): the first
// such function of a call starts one team, and every function it calls runs
// on that same team, its loops shared out among the threads and its serial
// steps done by one of them (single). Starting a team wakes its threads,
// which is the dear part of a parallel loop; one region per call wakes them
// once instead of once per loop. The split of each loop is the static one
// it had on its own, so each thread computes the same elements.
//
// Rules that keep it sound:
//  - Work-sharing loops bind to the innermost enclosing parallel region.
//    A function with such loops is only ever entered through region(), so
//    they always bind to a team of this library: a caller's own OpenMP
//    region (each of its threads with its own image) gets a nested region of
//    its own per call, a team of one unless nesting is enabled.
//  - A region opened here is recognised by a per-thread flag, not by
//    omp_in_parallel(), which is also true in a caller's region.
//  - Within a region every statement outside a work-sharing loop runs on
//    every thread: serial steps go in single(), whose end is a barrier, and
//    the data they pass on lives outside the region's body (shared).
//  - single() never calls a function with parallel loops.
// Without VARNOTH_PARALLEL_LOOPS, region(body) and single(body) are body().
#ifndef VARNOTH_PARALLEL_REGION_H
#define VARNOTH_PARALLEL_REGION_H

#include "Varnoth_api.h"

namespace varnoth_parallel {

#if defined(VARNOTH_PARALLEL_LOOPS)
// True on the threads of a team started by region() while they run it.
inline thread_local bool tl_in_region = false;

template <typename Body>
void region(Body&& body) {
  if (tl_in_region) {
    body();
    return;
  }
#pragma omp parallel num_threads(omp_get_max_threads())
  {
    tl_in_region = true;
    body();
    tl_in_region = false;
  }
}

template <typename Body>
void single(Body&& body) {
  if (!tl_in_region) {
    body();
    return;
  }
#pragma omp single
  body();
}
#else
template <typename Body>
void region(Body&& body) {
  body();
}

template <typename Body>
void single(Body&& body) {
  body();
}
#endif

}  // namespace varnoth_parallel

#endif
