package Varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import java.io.File;
import java.io.IOException;
import java.net.URISyntaxException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;

/**
 * Runs a scenario of {@link ChildMain} in a fresh JVM (with -Xcheck:jni), for
 * what one JVM cannot show twice: loading, the state before initialize, and
 * the text that the library writes to the process's standard output.
 */
public final class ChildJvm {
  private ChildJvm() {}

  /** Runs a scenario with the library's classes and the tests'; expects exit code 0. */
  public static String run(String scenario) throws IOException, InterruptedException {
    return run(classpath(), List.of(), scenario);
  }

  /** The library's classes (and the jar's natives) and the tests' classes. */
  public static String classpath() {
    return location(Varnoth.class) + File.pathSeparator + location(ChildMain.class);
  }

  /** The class path entry that holds a class. */
  public static Path location(Class<?> c) {
    try {
      return Path.of(c.getProtectionDomain().getCodeSource().getLocation().toURI());
    } catch (URISyntaxException e) {
      throw new IllegalStateException(e);
    }
  }

  /** Runs a scenario with a class path and JVM options of the caller's; expects exit code 0. */
  public static String run(String classpath, List<String> jvmOptions, String scenario)
      throws IOException, InterruptedException {
    Process p = start(classpath, jvmOptions, scenario);
    String text = output(p);
    assertEquals(0, p.exitValue(), "child JVM exit code; output:\n" + text);
    return text;
  }

  /** Starts a scenario in a child JVM; its output is read by {@link #output}. */
  public static Process start(String classpath, List<String> jvmOptions, String scenario)
      throws IOException {
    String java = Paths.get(System.getProperty("java.home"), "bin", "java").toString();
    List<String> command = new ArrayList<>(List.of(java, "-Xcheck:jni"));
    command.addAll(jvmOptions);
    command.addAll(List.of("-cp", classpath, "Varnoth.ChildMain", scenario));
    ProcessBuilder pb = new ProcessBuilder(command);
    pb.redirectErrorStream(true);
    return pb.start();
  }

  /** Waits for a child JVM and returns what it printed; no JNI warning allowed. */
  public static String output(Process p) throws IOException, InterruptedException {
    byte[] out = p.getInputStream().readAllBytes();
    assertEquals(true, p.waitFor(60, TimeUnit.SECONDS), "child JVM finished");
    String text = new String(out, StandardCharsets.UTF_8).replace("\r\n", "\n");
    assertFalse(text.contains("in native method"), "JNI check output:\n" + text);
    return text;
  }
}
