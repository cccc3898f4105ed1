/**
 * The ImageJ 1.x and Fiji commands Spectral Slope and Spectral Slope Map
 * ({@link org.varnoth.imagej.SpectralSlope}): the library's analyser on
 * ImageJ's images, its results in an ImageJ table, plot and image.
 */
package org.varnoth.imagej;
