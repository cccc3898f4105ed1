// Scalar types, the complex type, the growable arrays and the work record.
//
// Conventions of the whole library:
//  - An image is 16384 real_T values holding a 128 x 128 image or spectrum in
//    column-major order: element (r, c), both counted from 0, at index
//    r + 128 c (see image_at). A centred spectrum has its zero frequency at
//    (64, 64), index 8256.
//  - A radial profile is 65 real_T values, one per integer radius 0 to 64.
//  - The 2-D transform is the forward DFT with kernel
//    exp(-2 pi i (u m + v n) / 128), unscaled.
//  - Loops visit elements in ascending index order; the order of every
//    floating-point operation is part of the results.
#ifndef VARNOTH_TYPES_H
#define VARNOTH_TYPES_H

#include <cstddef>
#include <cstdint>

typedef double real_T;
typedef float real32_T;
typedef unsigned char boolean_T;
typedef std::int32_t int32_T;
typedef std::uint16_t uint16_T;
typedef std::uint32_t uint32_T;

// A complex double: the real part first, then the imaginary part.
struct creal_T {
  real_T re;
  real_T im;
};

// Fixed sizes.
constexpr int kImageSide = 128;                      // rows = columns
constexpr int kImageSize = kImageSide * kImageSide;  // 16384 values
constexpr int kCentreIndex = 64 + kImageSide * 64;   // 8256: frequency (0, 0)
constexpr int kProfileSize = 65;                     // radii 0 to 64

// Index of element (r, c) in the column-major image layout.
constexpr int image_at(int r, int c) { return r + kImageSide * c; }

// Growable arrays. data is null exactly while allocatedSize is 0; the number
// of elements in use is the product of the numDimensions extents in size;
// canFreeData says whether the record owns data.
struct emxArray_real_T {
  real_T* data;
  int* size;
  int allocatedSize;
  int numDimensions;
  boolean_T canFreeData;
};

struct emxArray_int32_T {
  int32_T* data;
  int* size;
  int allocatedSize;
  int numDimensions;
  boolean_T canFreeData;
};

// The untyped view of either record, through which the capacity grows.
struct emxArray__common {
  void* data;
  int* size;
  int allocatedSize;
  int numDimensions;
  boolean_T canFreeData;
};

// One cell holding one growable array of doubles.
struct cell_wrap_0 {
  emxArray_real_T* f1;
};

// The work record: scratch arrays of the computing functions, allocated on
// the heap once per computing call. Members of one union belong to
// functions that are never active at the same time; no function's scratch
// overlaps the scratch of a function above or below it in a chain of calls:
//   f_ImageFFT* (u3) -> fft2 (f2) -> fft (u1.f0, only when its input and
//                                         output overlap)
//   f_PSD_Slope / f_PSD_LinearRegression (u4)
//       -> f_ImageFFTPower (f2, u1.f0 as above)
//       -> f_RadialAverageSpectra (none)
// The straightforward reference forms kept for tests and benchmarks use
// their members in full: fft_reference u1.f0, f_ImageFFTPower_reference
// u3.f4 with dv4 and dv5, f_RadialAverageSpectra_reference u1.f1. No member
// needs initial contents.
struct fft_scratch {
  creal_T y1[kImageSize];  // row spectra, column r = spectrum of row r
};
struct radial_scratch {  // f_RadialAverageSpectra_reference
  real_T X[kImageSize];  // X(r, c) = c - 64
  real_T Y[kImageSize];  // Y(r, c) = r - 64
  real_T theta[kImageSize];
};
struct fft2_scratch {
  creal_T x[kImageSize];  // first pass (rows), input of the column pass
};
struct image_fft_scratch {
  creal_T imgf[kImageSize];
};
struct image_power_scratch {
  creal_T imgf[kImageSize];
  real_T dv4[kImageSize];  // magnitudes
  real_T dv5[kImageSize];  // magnitudes / 16384
};
struct image_power_phase_scratch {
  creal_T imgf[kImageSize];
  real_T dv6[kImageSize];  // magnitudes
  real_T dv7[kImageSize];  // magnitudes / 16384
};
struct power_spectrum_scratch {
  real_T imgFT[kImageSize];
};

struct VarnothStackData {
  union {
    fft_scratch f0;
    radial_scratch f1;
  } u1;
  fft2_scratch f2;
  union {
    image_fft_scratch f3;
    image_power_scratch f4;
    image_power_phase_scratch f5;
  } u3;
  union {
    power_spectrum_scratch f6;  // f_PSD_LinearRegression
    power_spectrum_scratch f7;  // f_PSD_Slope
  } u4;
};

#endif
