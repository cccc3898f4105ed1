package org.varnoth.cli;

import java.io.PrintWriter;
import org.varnoth.NativeLibrary;
import picocli.CommandLine;
import picocli.CommandLine.Command;

/** The command {@code varnoth}: its subcommands analyse and make images. */
@Command(name = "varnoth", mixinStandardHelpOptions = true,
    versionProvider = VarnothCli.Version.class,
    description = "Spectral slopes of grey images: the centred power spectrum of an N x N "
        + "window (N a power of two from 32 to 4096, 128 by default), its N/2 + 1-ring radial "
        + "profile and the log-log line fit.",
    subcommands = {AnalyzeCommand.class, SynthCommand.class, CalibrateCommand.class})
public final class VarnothCli implements Runnable {
  @CommandLine.Spec CommandLine.Model.CommandSpec spec;

  /**
   * Runs the command line and exits with its status.
   *
   * @param args the command line, without {@code varnoth}
   */
  public static void main(String[] args) {
    System.exit(run(new PrintWriter(System.out, true), new PrintWriter(System.err, true), args));
  }

  /**
   * Runs a command line with the given outputs, in this JVM.
   *
   * @param out where results go
   * @param err where failures and usage go
   * @param args the command line, without {@code varnoth}
   * @return the exit status: 0 success, 1 some input failed, 2 usage error
   */
  public static int run(PrintWriter out, PrintWriter err, String... args) {
    CommandLine cl = new CommandLine(new VarnothCli());
    cl.setOut(out);
    cl.setErr(err);
    cl.setCaseInsensitiveEnumValuesAllowed(true);
    int status = cl.execute(args);
    out.flush();
    err.flush();
    return status;
  }

  /** Without a subcommand: the usage, as a usage error. */
  @Override
  public void run() {
    throw new CommandLine.ParameterException(spec.commandLine(), "a subcommand is needed");
  }

  /** The version of the library. */
  static final class Version implements CommandLine.IVersionProvider {
    @Override
    public String[] getVersion() {
      return new String[] {"varnoth " + NativeLibrary.version()};
    }
  }
}
