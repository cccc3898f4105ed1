package org.varnoth.decoding;

import java.util.Locale;
import javax.imageio.ImageReader;

/** The file formats whose differences the decoder must know. */
enum ImageFormat {
  JPEG(true, false),
  TIFF(true, true),
  PNG(true, false),
  WEBP(true, true),
  GIF(false, true),
  OTHER(false, false);

  private final boolean carriesExif;
  private final boolean countsFramesCheaply;

  ImageFormat(boolean carriesExif, boolean countsFramesCheaply) {
    this.carriesExif = carriesExif;
    this.countsFramesCheaply = countsFramesCheaply;
  }

  /** Whether metadata-extractor reads an EXIF orientation from files of this format. */
  boolean carriesExif() {
    return carriesExif;
  }

  /**
   * Whether the reader counts the frames by walking headers or block lengths,
   * decoding no pixel (a JPEG reader would scan every byte for markers).
   */
  boolean countsFramesCheaply() {
    return countsFramesCheaply;
  }

  static ImageFormat of(ImageReader reader) {
    for (String name : reader.getOriginatingProvider().getFormatNames()) {
      switch (name.toLowerCase(Locale.ROOT)) {
        case "jpeg":
        case "jpg":
          return JPEG;
        case "tiff":
        case "tif":
          return TIFF;
        case "png":
          return PNG;
        case "webp":
          return WEBP;
        case "gif":
          return GIF;
        default:
          break;
      }
    }
    return OTHER;
  }
}
