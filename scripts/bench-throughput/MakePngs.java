import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.util.Random;
import javax.imageio.ImageIO;

/** Writes COUNT SIDE x SIDE 8-bit grey PNGs of random levels into DIR: MakePngs DIR COUNT SIDE. */
public class MakePngs {
  public static void main(String[] args) throws IOException {
    File dir = new File(args[0]);
    int count = Integer.parseInt(args[1]);
    int side = Integer.parseInt(args[2]);
    dir.mkdirs();
    Random random = new Random(1);
    for (int i = 0; i < count; i++) {
      BufferedImage img = new BufferedImage(side, side, BufferedImage.TYPE_BYTE_GRAY);
      for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
          img.getRaster().setSample(x, y, 0, random.nextInt(256));
        }
      }
      ImageIO.write(img, "png", new File(dir, String.format("img%04d.png", i)));
    }
  }
}
