package Varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Paths;
import java.util.List;
import java.util.concurrent.TimeUnit;

/**
 * Runs a scenario of {@link ChildMain} in a fresh JVM (with -Xcheck:jni), for
 * what one JVM cannot show twice: the state before initialize, and the text
 * that the library writes to the process's standard output.
 */
final class ChildJvm {
  private ChildJvm() {}

  static String run(String scenario) throws IOException, InterruptedException {
    String java = Paths.get(System.getProperty("java.home"), "bin", "java").toString();
    String classpath = System.getProperty("varnoth.test.classpath");
    String library = System.getProperty(Varnoth.LIBRARY_PROPERTY);
    ProcessBuilder pb = new ProcessBuilder(List.of(java, "-Xcheck:jni",
        "-D" + Varnoth.LIBRARY_PROPERTY + "=" + library, "-cp", classpath,
        "Varnoth.ChildMain", scenario));
    pb.redirectErrorStream(true);
    Process p = pb.start();
    byte[] out = p.getInputStream().readAllBytes();
    assertEquals(true, p.waitFor(60, TimeUnit.SECONDS), "child JVM finished");
    String text = new String(out, StandardCharsets.UTF_8);
    assertEquals(0, p.exitValue(), "child JVM exit code; output:\n" + text);
    assertFalse(text.contains("in native method"), "JNI check output:\n" + text);
    return text;
  }
}
