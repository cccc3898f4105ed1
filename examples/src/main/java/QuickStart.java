import java.io.File;
import javax.imageio.ImageIO;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

public class QuickStart {
  public static void main(String[] args) throws Exception {
    SpectrumResult r = SpectrumAnalyzer.create().analyze(ImageIO.read(new File(args[0])));
    System.out.println("slope " + r.slope() + " over " + r.points() + " rings");
  }
}
