#!/usr/bin/env bash
# docs/imagej.md's picture of the ImageJ commands, docs/figures/imagej.png, from a
# real run: ImageJ 1.x started under Xvfb with the plugin jar in its plugins
# folder runs a macro that opens samples/synthetic-beta2.png, runs Spectral
# Slope on its 64 x 64 tiles with the map laid over the image, places the
# image, the slope map, the plot and the table, and saves ImageJ's own
# Capture Screen. Builds the plugin jar when it is missing (the whole
# build, natives included).
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's:.*<revision>\(.*\)</revision>.*:\1:p' pom.xml)
ij_version=$(sed -n 's:.*<imagej.version>\(.*\)</imagej.version>.*:\1:p' pom.xml)
jar=varnoth-imagej/target/Varnoth_ImageJ-$version.jar
ij=${MAVEN_REPO:-$HOME/.m2/repository}/net/imagej/ij/$ij_version/ij-$ij_version.jar
if [ ! -f "$jar" ] || [ ! -f "$ij" ]; then
  mvn -B -ntp -q -Dstyle.color=never -pl varnoth-jni,varnoth-imagej -DskipTests package
fi
command -v xvfb-run >/dev/null || { echo "imagej-screenshot: needs xvfb-run (scripts/install-deps.sh)" >&2; exit 1; }

# ImageJ's own folders (plugins, preferences) in a folder of this run.
run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
mkdir "$run/plugins"
cp "$jar" "$run/plugins/"
cat >"$run/screenshot.ijm" <<'MACRO'
arg = getArgument();
image = call("ij.Macro.getValue", arg, "image", "");
png = call("ij.Macro.getValue", arg, "png", "");
open(image);
title = getTitle();
run("Spectral Slope", "side=64 window=tiles remove_mean taper=hann axis=frequency overlay");
Table.setLocationAndSize(0, 600, 1300, 440, "Spectral Slopes");
place(title, 0, 110);
place(File.getNameWithoutExtension(title) + " slope map", 280, 110);
place(File.getNameWithoutExtension(title) + " tiles' mean spectrum", 560, 110);
wait(1500);
run("Capture Screen");
makeRectangle(0, 105, 1300, 935);
run("Crop");
saveAs("PNG", png);
run("Quit");

// Moves an image's window, keeping its size.
function place(image, x, y) {
  selectImage(image);
  getLocationAndSize(x0, y0, width, height);
  setLocation(x, y, width, height);
}
MACRO
mkdir -p docs/figures
png=$PWD/docs/figures/imagej.png
timeout 300 xvfb-run -a -s "-screen 0 1300x1040x24" \
  java -Duser.home="$run" -Dplugins.dir="$run/plugins" -cp "$ij" ij.ImageJ \
  -macro "$run/screenshot.ijm" "image=[$PWD/samples/synthetic-beta2.png] png=[$png]"
echo "wrote $png"
