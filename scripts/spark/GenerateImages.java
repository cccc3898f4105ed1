import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.util.Random;
import javax.imageio.ImageIO;

/**
 * Writes N 8-bit grey PNGs of SIDE x SIDE random grey levels into DIR, named
 * img-00000.png ...: the batches that scripts/bench-spark.sh and
 * scripts/bench-throughput.sh time.
 *   java scripts/spark/GenerateImages.java DIR N [SIDE]
 */
public final class GenerateImages {
  public static void main(String[] args) throws IOException {
    File dir = new File(args[0]);
    int n = Integer.parseInt(args[1]);
    int side = args.length > 2 ? Integer.parseInt(args[2]) : 128;
    if (!dir.isDirectory() && !dir.mkdirs()) {
      throw new IOException("cannot make " + dir);
    }
    Random rnd = new Random(1);
    for (int i = 0; i < n; i++) {
      BufferedImage img = new BufferedImage(side, side, BufferedImage.TYPE_BYTE_GRAY);
      for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
          img.getRaster().setSample(x, y, 0, rnd.nextInt(256));
        }
      }
      ImageIO.write(img, "png", new File(dir, String.format("img-%05d.png", i)));
    }
  }
}
