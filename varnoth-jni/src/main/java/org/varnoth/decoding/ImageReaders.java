package org.varnoth.decoding;

import com.twelvemonkeys.imageio.plugins.jpeg.JPEGImageReaderSpi;
import com.twelvemonkeys.imageio.plugins.tiff.TIFFImageReaderSpi;
import com.twelvemonkeys.imageio.plugins.webp.WebPImageReaderSpi;
import java.io.EOFException;
import java.io.IOException;
import java.util.ArrayList;
import java.util.Iterator;
import java.util.List;
import javax.imageio.ImageIO;
import javax.imageio.ImageReader;
import javax.imageio.spi.IIORegistry;
import javax.imageio.spi.ImageReaderSpi;
import javax.imageio.spi.ServiceRegistry;
import javax.imageio.stream.ImageInputStream;

/**
 * The decoder's own list of image readers, in the order they are tried: the
 * TwelveMonkeys readers of JPEG (which reads CMYK and YCCK and applies ICC
 * profiles) and WebP; the JDK's own readers (PNG, BMP, GIF, WBMP, TIFF, and
 * JPEG again); last the TwelveMonkeys TIFF reader, for the TIFF files the
 * JDK's cannot read (BigTIFF, 16-bit samples with a predictor, and more). The
 * JDK's TIFF reader comes first because it hands out floating-point samples
 * as they are stored, where the TwelveMonkeys one clamps them to 0 to 1, and
 * because it decodes TIFF files as {@code ImageIO.read} always has.
 *
 * <p>The list does not depend on javax.imageio's global registry, which scans
 * only the class path of the thread that first used it: the TwelveMonkeys
 * providers are created here, from the class loader that loaded this class,
 * so they are found in a shaded jar, in a Spark executor's child class loader
 * and on a plain class path alike.
 */
final class ImageReaders {
  private static final List<ImageReaderSpi> PROVIDERS = orderedProviders();

  private ImageReaders() {}

  /**
   * The providers whose readers take the stream, judged from its first bytes,
   * in the order to try them: a later one may read a file that an earlier one
   * cannot. Empty if none knows the bytes. The stream is left at its start.
   */
  static List<ImageReaderSpi> providersFor(ImageInputStream input) throws IOException {
    List<ImageReaderSpi> taking = new ArrayList<>();
    for (ImageReaderSpi provider : PROVIDERS) {
      boolean takes = canDecode(provider, input);
      input.seek(0);
      if (takes) {
        taking.add(provider);
      }
    }
    return taking;
  }

  /**
   * Whether the provider's reader clamps floating-point samples to 0 to 1
   * (the TwelveMonkeys TIFF reader does): its images of such samples are not
   * the file's.
   */
  static boolean clampsFloatSamples(ImageReaderSpi provider) {
    return provider instanceof TIFFImageReaderSpi;
  }

  private static boolean canDecode(ImageReaderSpi provider, ImageInputStream input)
      throws IOException {
    try {
      return provider.canDecodeInput(input);
    } catch (EOFException e) {
      return false; // fewer bytes than the format's signature
    } catch (RuntimeException e) {
      return false; // a provider that fails on bytes it does not know
    }
  }

  private static List<ImageReaderSpi> orderedProviders() {
    List<ImageReaderSpi> jdk = jdkProviders();
    // The TwelveMonkeys JPEG reader decodes through the JDK's: it finds that
    // delegate when it is registered beside it, here in a registry of our own.
    ServiceRegistry registry =
        new ServiceRegistry(List.<Class<?>>of(ImageReaderSpi.class).iterator());
    for (ImageReaderSpi provider : jdk) {
      registry.registerServiceProvider(provider, ImageReaderSpi.class);
    }
    List<ImageReaderSpi> ordered = new ArrayList<>();
    ordered.addAll(registered(registry, new JPEGImageReaderSpi(), new WebPImageReaderSpi()));
    ordered.addAll(jdk);
    ordered.addAll(registered(registry, new TIFFImageReaderSpi()));
    return List.copyOf(ordered);
  }

  /**
   * The providers that stay in the registry once registered: a provider that
   * finds no delegate there takes itself out.
   */
  private static List<ImageReaderSpi> registered(
      ServiceRegistry registry, ImageReaderSpi... providers) {
    List<ImageReaderSpi> kept = new ArrayList<>();
    for (ImageReaderSpi provider : providers) {
      registry.registerServiceProvider(provider, ImageReaderSpi.class);
      if (registry.contains(provider)) {
        kept.add(provider);
      }
    }
    return kept;
  }

  /** The readers that come with the JDK (module java.desktop), and no plug-in. */
  private static List<ImageReaderSpi> jdkProviders() {
    Module desktop = ImageIO.class.getModule();
    List<ImageReaderSpi> jdk = new ArrayList<>();
    Iterator<ImageReaderSpi> all =
        IIORegistry.getDefaultInstance().getServiceProviders(ImageReaderSpi.class, false);
    while (all.hasNext()) {
      ImageReaderSpi provider = all.next();
      if (provider.getClass().getModule() == desktop) {
        jdk.add(provider);
      }
    }
    return jdk;
  }
}
