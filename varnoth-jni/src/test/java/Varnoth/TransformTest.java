package Varnoth;

import static Varnoth.TestImages.assertBits;
import static org.junit.jupiter.api.Assertions.assertNotSame;

import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/** The image-spectrum methods through the JVM. */
class TransformTest {
  private static final double POWER_OF_UNIT_IMPULSE = 3.725290298461914e-09;  // 2^-28

  @BeforeAll
  static void init() {
    Varnoth.initialize();
  }

  @Test
  void outputsAreOverwrittenInPlaceAndTheInputIsKept() {
    double[][] img = TestImages.random(11);
    double[][] before = TestImages.copy(img);
    double[][] a = TestImages.filled(Double.NaN);
    double[][] o = TestImages.filled(-7.0);
    double[][] aRows = a.clone();
    double[][] oRows = o.clone();
    Varnoth.f_ImageFFTPowerPhase(img, a, o);
    assertBits(before, img, "input");
    TestImages.assertSameRows(aRows, a);
    TestImages.assertSameRows(oRows, o);
    for (int x = 0; x < 128; x++) {
      for (int y = 0; y < 128; y++) {
        if (Double.isNaN(a[x][y]) || a[x][y] < 0 || Math.abs(o[x][y]) > Math.PI) {
          throw new AssertionError("power/phase not written at " + x + "," + y);
        }
      }
    }
  }

  @Test
  void powerEqualsTheFirstOutputOfPowerPhaseAndIsFresh() {
    double[][] img = TestImages.random(12);
    double[][] a = new double[128][128];
    double[][] o = new double[128][128];
    Varnoth.f_ImageFFTPowerPhase(img, a, o);
    double[][] p1 = Varnoth.f_ImageFFTPower(img);
    double[][] p2 = Varnoth.f_ImageFFTPower(img);
    assertNotSame(p1, p2);
    for (int x = 0; x < 128; x++) assertNotSame(p1[x], p2[x]);
    assertBits(a, p1, "power");
    assertBits(a, p2, "power again");
  }

  @Test
  void oneArrayForBothOutputsHoldsTheSecond() {
    double[][] img = TestImages.random(13);
    double[][] re = new double[128][128];
    double[][] im = new double[128][128];
    Varnoth.f_ImageFFT(img, re, im);
    double[][] both = new double[128][128];
    Varnoth.f_ImageFFT(img, both, both);
    assertBits(im, both, "shared output");
  }

  @Test
  void theInputMayAlsoBeAnOutput() {
    double[][] img = TestImages.random(14);
    double[][] re = new double[128][128];
    double[][] im = new double[128][128];
    Varnoth.f_ImageFFT(img, re, im);
    double[][] other = new double[128][128];
    Varnoth.f_ImageFFT(img, img, other);
    assertBits(re, img, "real parts written over the input");
    assertBits(im, other, "imaginary parts");
  }

  @Test
  void impulseAtOriginHasAFlatSpectrum() {
    double[][] re = new double[128][128];
    double[][] im = new double[128][128];
    Varnoth.f_ImageFFT(TestImages.impulse(0, 0), re, im);
    double[][] power = Varnoth.f_ImageFFTPower(TestImages.impulse(0, 0));
    for (int x = 0; x < 128; x++) {
      for (int y = 0; y < 128; y++) {
        assertBits(1.0, re[x][y], "re");
        assertBits(0.0, im[x][y], "im");
        assertBits(POWER_OF_UNIT_IMPULSE, power[x][y], "power");
      }
    }
  }

  /** The column index carries the frequency, and the kernel's sign is negative. */
  @Test
  void impulseAtColumnOneFixesOrientationAndSign() {
    double[][] img = TestImages.impulse(0, 1);
    double[][] re = new double[128][128];
    double[][] im = new double[128][128];
    Varnoth.f_ImageFFT(img, re, im);
    double[][] power = new double[128][128];
    double[][] phase = new double[128][128];
    Varnoth.f_ImageFFTPowerPhase(img, power, phase);
    for (int r = 0; r < 128; r++) {
      assertBits(0.9987954562051724, re[r][65], "re at column 65");
      assertBits(-0.049067674327418015, im[r][65], "im at column 65");
      assertBits(-0.04908738521234052, phase[r][65], "phase at column 65");
    }
  }

  @Test
  void zeroAndConstantImages() {
    double[][] power = new double[128][128];
    double[][] phase = TestImages.filled(5.0);
    Varnoth.f_ImageFFTPowerPhase(new double[128][128], power, phase);
    for (int x = 0; x < 128; x++) {
      for (int y = 0; y < 128; y++) {
        assertBits(0.0, power[x][y], "power of zero image");
        assertBits(0.0, phase[x][y], "phase of zero image");
      }
    }
    double[][] re = new double[128][128];
    double[][] im = new double[128][128];
    Varnoth.f_ImageFFT(TestImages.filled(3.0), re, im);
    assertBits(16384 * 3.0, re[64][64], "dc term");
    double[][] p = Varnoth.f_ImageFFTPower(TestImages.filled(3.0));
    assertBits(9.0, p[64][64], "dc power");
    assertBits(0.0, Math.abs(p[64][65]), "off-centre power");
  }
}
