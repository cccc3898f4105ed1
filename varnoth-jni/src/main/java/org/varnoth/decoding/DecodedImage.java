package org.varnoth.decoding;

import java.awt.image.BufferedImage;
import java.util.List;

/**
 * An image decoded by an {@link ImageDecoder}: the first frame of the file,
 * turned as its EXIF orientation says, with its colours as one band of grey
 * or in sRGB, ready for {@link org.varnoth.GreyImages#of(BufferedImage)}.
 *
 * <p>It holds a share of its decoder's memory budget, enough for the image
 * and its grey levels, until {@link #close()}: close it once its grey levels
 * are no longer needed, so that other images can be decoded.
 */
public final class DecodedImage implements AutoCloseable {
  private final BufferedImage image;
  private final List<String> notes;
  private final MemoryBudget.Share share;

  DecodedImage(BufferedImage image, List<String> notes, MemoryBudget.Share share) {
    this.image = image;
    this.notes = List.copyOf(notes);
    this.share = share;
  }

  /**
   * The image: the file's first frame, its EXIF orientation applied, its
   * colours either one band of grey (samples as in the file, floating point
   * ones too, NaN and infinities included) or sRGB (converted from the file's
   * colour space, such as CMYK or an embedded ICC profile, where that is not
   * sRGB; 16-bit colours stay 16-bit); a palette image keeps its palette.
   *
   * @return the image, the same object on every call
   */
  public BufferedImage image() {
    return image;
  }

  /**
   * What a user must know about how the image was obtained, in plain English,
   * such as {@code "EXIF orientation 6 applied (rotated 90 degrees clockwise)"}
   * or {@code "first of 3 frames used"}.
   *
   * @return the notes, unmodifiable; empty when there are none
   */
  public List<String> notes() {
    return notes;
  }

  /** Gives its share back to the decoder's memory budget; later calls do nothing. */
  @Override
  public void close() {
    share.release();
  }
}
