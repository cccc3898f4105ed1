package org.varnoth.decoding;

import com.drew.imaging.ImageProcessingException;
import com.drew.imaging.jpeg.JpegMetadataReader;
import com.drew.imaging.png.PngMetadataReader;
import com.drew.imaging.tiff.TiffMetadataReader;
import com.drew.imaging.webp.WebpMetadataReader;
import com.drew.lang.ByteArrayReader;
import com.drew.metadata.Metadata;
import com.drew.metadata.exif.ExifReader;
import java.io.BufferedInputStream;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.channels.Channels;
import java.nio.channels.FileChannel;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.util.List;
import javax.imageio.stream.ImageInputStream;

/**
 * Where the bytes of one image file come from: a file, read in parts as the
 * readers ask, or an array held by the caller.
 */
sealed interface ImageSource {
  /** The number of bytes. */
  long length() throws IOException;

  /** A new stream positioned at the first byte; the caller closes it. */
  ImageInputStream openImageStream() throws IOException;

  /** The metadata of a JPEG, TIFF, PNG or WebP file as metadata-extractor reads it. */
  Metadata readMetadata(ImageFormat format) throws IOException, ImageProcessingException;

  /** An image file on disk. */
  record FileSource(Path file) implements ImageSource {
    @Override
    public long length() throws IOException {
      return Files.size(file);
    }

    @Override
    public ImageInputStream openImageStream() throws IOException {
      return new FileImageInput(file);
    }

    @Override
    public Metadata readMetadata(ImageFormat format) throws IOException, ImageProcessingException {
      // Through the path itself, never its string: a name's bytes may be no
      // valid text in the platform's encoding.
      try (FileChannel channel = FileChannel.open(file, StandardOpenOption.READ);
          InputStream in = new BufferedInputStream(Channels.newInputStream(channel))) {
        switch (format) {
          case JPEG:
            return JpegMetadataReader.readMetadata(in, List.of(new ExifReader()));
          case TIFF:
            return TiffMetadataReader.readMetadata(new ChannelReader(channel));
          case PNG:
            return PngMetadataReader.readMetadata(in);
          case WEBP:
            return WebpMetadataReader.readMetadata(in);
          default:
            return new Metadata();
        }
      }
    }
  }

  /** The bytes of an image file, not copied. */
  record BytesSource(byte[] bytes) implements ImageSource {
    @Override
    public long length() {
      return bytes.length;
    }

    @Override
    public ImageInputStream openImageStream() {
      return new BytesImageInput(bytes);
    }

    @Override
    public Metadata readMetadata(ImageFormat format) throws IOException, ImageProcessingException {
      switch (format) {
        case JPEG:
          return JpegMetadataReader.readMetadata(
              new ByteArrayInputStream(bytes), List.of(new ExifReader()));
        case TIFF:
          return TiffMetadataReader.readMetadata(new ByteArrayReader(bytes));
        case PNG:
          return PngMetadataReader.readMetadata(new ByteArrayInputStream(bytes));
        case WEBP:
          return WebpMetadataReader.readMetadata(new ByteArrayInputStream(bytes));
        default:
          return new Metadata();
      }
    }
  }
}
