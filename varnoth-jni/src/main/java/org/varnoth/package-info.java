/**
 * The spectral slope of grey images of any size, with the native library
 * loaded from the jar: {@link org.varnoth.SpectrumAnalyzer} takes a
 * {@code double[][]}, a {@link java.awt.image.BufferedImage} or a
 * {@link java.awt.image.Raster}, converts it to grey ({@link org.varnoth.GreyImages}),
 * takes a 128 x 128 window and returns an immutable
 * {@link org.varnoth.SpectrumResult}; {@link org.varnoth.NativeLibrary} finds and
 * loads the library.
 */
package org.varnoth;
