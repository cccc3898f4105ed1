// The spectral slope map of every image in a folder, in batch mode:
//   ImageJ -batch slope-maps.ijm "input=[IN] output=[OUT] measure=[side=128]"
// measure holds Spectral Slope Map's options. Each image's map is saved in
// the folder OUT (which must exist) as NAME-slope-map.tif, and the table of
// every tile and each image's tiles' mean as spectral-slopes.csv. An image
// smaller than the side is named in the log and skipped: a macro error
// would stop the run, and under a display wait for someone to close it.
arg = getArgument();
input = call("ij.Macro.getValue", arg, "input", "");
output = call("ij.Macro.getValue", arg, "output", "");
measure = call("ij.Macro.getValue", arg, "measure", "");
if (input == "" || output == "")
  exit("expected input=[FOLDER] output=[FOLDER] measure=[OPTIONS], got " + arg);
side = parseInt(call("ij.Macro.getValue", measure, "side", "128"));
setBatchMode(true);
files = getFileList(input);
for (i = 0; i < files.length; i++) {
  if (matches(toLowerCase(files[i]), ".*\\.(tif|tiff|png|jpg|jpeg|bmp|gif)")) {
    open(input + File.separator + files[i]);
    if (getWidth() < side || getHeight() < side) {
      print(files[i] + ": smaller than " + side + " x " + side + ", skipped");
    } else {
      run("Spectral Slope Map", measure);
      saveAs("Tiff", output + File.separator + File.getNameWithoutExtension(files[i])
        + "-slope-map.tif");
    }
    close("*");
  }
}
// A headless JVM shows no table: the rows are in the Results table.
if (isOpen("Spectral Slopes"))
  Table.save(output + File.separator + "spectral-slopes.csv", "Spectral Slopes");
else
  saveAs("Results", output + File.separator + "spectral-slopes.csv");
