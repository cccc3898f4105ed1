package org.varnoth.bench;

/**
 * The FFTW real-input chain behind a literal JNI frame of the same shape as
 * {@code Varnoth.f_PSD_Processing}, from the benchmark library that
 * {@code -Dvarnoth.bench.peer=PATH} names (built as
 * {@code build-dev/benchmarks/libvarnoth_fftw_peer.so}).
 */
final class FftwPeer {
  static {
    String path = System.getProperty("varnoth.bench.peer");
    if (path == null) {
      throw new IllegalStateException("-Dvarnoth.bench.peer=PATH names the FFTW peer library");
    }
    System.load(new java.io.File(path).getAbsolutePath());
  }

  private FftwPeer() {}

  static native double process(double[][] img, double[] ps, double[][] ft, double[][] wd);
}
