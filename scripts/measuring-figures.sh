#!/usr/bin/env bash
# The figures of the README's "Measuring a slope well": two photographs from
# Debian's mate-backgrounds package (GPL-2+; downloaded, not installed, into
# out/figures-src), analysed by the command-line tool; the charts go to
# docs/figures/ and the tool's lines are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
src=out/figures-src
photos=$src/usr/share/backgrounds/mate/nature
if [ ! -f "$photos/Dune.jpg" ]; then
  mkdir -p "$src"
  (cd "$src" && apt-get download mate-backgrounds >/dev/null && dpkg-deb -x mate-backgrounds_*.deb .)
fi
mkdir -p docs/figures
set -x
scripts/varnoth analyze --resize --chart docs/figures/dune-default.png "$photos/Dune.jpg"
scripts/varnoth analyze --resize --window hann --fit-range 2:48 --axis frequency \
  --chart docs/figures/dune-measured.png "$photos/Dune.jpg"
scripts/varnoth analyze --resize --window hann --fit-range 2:48 --axis frequency \
  --chart docs/figures/dune-measured.svg "$photos/Dune.jpg"
scripts/varnoth analyze --resize --window hann --fit-range 2:48 --axis frequency --sectors 12 \
  --sector-chart docs/figures/blinds-sectors.png "$photos/Blinds.jpg"
scripts/varnoth analyze --side 1024 --remove-mean --window hann --axis frequency --fit-range 10:256 \
  --chart docs/figures/dune-1024.png "$photos/Dune.jpg"
