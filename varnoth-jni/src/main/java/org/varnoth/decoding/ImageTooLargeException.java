package org.varnoth.decoding;

import java.io.IOException;

/**
 * An image refused before any pixel was decoded because its header gives it
 * more pixels than the decoder's limit ({@link ImageDecoder#maxPixels()}).
 */
public final class ImageTooLargeException extends IOException {
  private static final long serialVersionUID = 1L;

  /** The width in pixels, from the file's header. */
  private final int width;

  /** The height in pixels, from the file's header. */
  private final int height;

  /** The largest number of pixels decoded. */
  private final long limit;

  /**
   * An image of {@code width x height} pixels refused by a limit of {@code limit} pixels.
   *
   * @param width the width in pixels, from the file's header
   * @param height the height in pixels, from the file's header
   * @param limit the largest number of pixels decoded
   */
  public ImageTooLargeException(int width, int height, long limit) {
    super(width + " x " + height + " pixels, above the limit of " + limit + " pixels");
    this.width = width;
    this.height = height;
    this.limit = limit;
  }

  /**
   * The width that the file's header gives.
   *
   * @return the width in pixels
   */
  public int width() {
    return width;
  }

  /**
   * The height that the file's header gives.
   *
   * @return the height in pixels
   */
  public int height() {
    return height;
  }

  /**
   * The limit that the image is above.
   *
   * @return the largest number of pixels decoded
   */
  public long limit() {
    return limit;
  }
}
