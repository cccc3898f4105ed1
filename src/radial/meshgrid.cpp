// Coordinate grids of a 128 x 128 image.
#include "radial/Varnoth_radial.h"

// xx(r, c) = x[c] and yy(r, c) = y[r] for r, c = 0..127, in the column-major
// image layout (element (r, c) at r + 128 c): every row of xx is x, every
// column of yy is y. Column by column, ascending; no arithmetic.
void meshgrid(const real_T x[128], const real_T y[128], real_T xx[16384],
              real_T yy[16384]) {
  for (int c = 0; c < kImageSide; c++) {
    for (int r = 0; r < kImageSide; r++) {
      yy[image_at(r, c)] = y[r];
      xx[image_at(r, c)] = x[c];
    }
  }
}
