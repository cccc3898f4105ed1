// The least-squares line of polyfit for any number of points. Internal to
// the library, not exported.
#ifndef VARNOTH_FIT_LINE_H
#define VARNOTH_FIT_LINE_H

#include "Varnoth_types.h"

// p = {slope, intercept} of the m points (x[r], y[r]) by polyfit's method
// (polyfit.cpp); V_data (2 m values) and B_data (m values) are scratch.
void fit_line(const real_T x[], const real_T y[], int m, real_T V_data[],
              real_T B_data[], real_T p[2]);

// The fit points of a profile of count values with abscissae xpts (count
// values): ypts[k] = log(profile[k]); the number of strictly positive
// values (trueCount, returned); in xvalid, yvalid (count values each) the
// points (xpts[k], ypts[k]) whose ypts[k] is finite, in ascending k, every
// other entry 0.0. loglog_points is this for 65 values.
int loglog_fit_points(const real_T profile[], int count, const real_T xpts[],
                      real_T ypts[], real_T xvalid[], real_T yvalid[]);

#endif
