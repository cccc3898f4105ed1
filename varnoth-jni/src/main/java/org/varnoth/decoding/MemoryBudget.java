package org.varnoth.decoding;

import java.io.InterruptedIOException;
import java.util.concurrent.Semaphore;
import java.util.concurrent.atomic.AtomicBoolean;

/**
 * A number of bytes shared by all the threads that decode with one decoder,
 * counted in KiB (so that a budget up to 2 TiB fits a semaphore's int).
 * Threads wait in the order they asked, so a large image is not passed over
 * for ever by small ones.
 */
final class MemoryBudget {
  private static final long KIB = 1024;

  private final long bytes;
  private final int kib;
  private final Semaphore available;

  MemoryBudget(long bytes) {
    this.kib = (int) Math.min(Integer.MAX_VALUE, Math.max(1, bytes / KIB));
    this.bytes = kib * KIB;
    this.available = new Semaphore(kib, true);
  }

  /** The whole budget in bytes (a whole number of KiB). */
  long bytes() {
    return bytes;
  }

  /** Whether a share of this many bytes can ever be had. */
  boolean holds(long shareBytes) {
    return kibFor(shareBytes) <= kib;
  }

  /**
   * Takes a share of the budget, waiting until it is free.
   *
   * @param shareBytes at most {@link #bytes()}
   * @param what the image, in words, for the message of an interruption
   */
  Share acquire(long shareBytes, String what) throws InterruptedIOException {
    int shareKib = (int) kibFor(shareBytes);
    try {
      available.acquire(shareKib);
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
      throw new InterruptedIOException("interrupted while waiting for memory to decode " + what);
    }
    return new Share(shareKib);
  }

  private static long kibFor(long shareBytes) {
    return Math.max(1, (shareBytes + KIB - 1) / KIB);
  }

  /** A share taken from the budget; {@link #release()} gives it back once. */
  final class Share {
    private final int shareKib;
    private final AtomicBoolean released = new AtomicBoolean();

    private Share(int shareKib) {
      this.shareKib = shareKib;
    }

    void release() {
      if (released.compareAndSet(false, true)) {
        available.release(shareKib);
      }
    }
  }
}
