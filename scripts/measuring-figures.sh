#!/usr/bin/env bash
# The figures of docs/measuring.md: two photographs from
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
scripts/varnoth analyze --resize --literature --chart docs/figures/dune-measured.png "$photos/Dune.jpg"
scripts/varnoth analyze --resize --literature --chart docs/figures/dune-measured.svg "$photos/Dune.jpg"
scripts/varnoth analyze --resize --literature --sectors 12 \
  --sector-chart docs/figures/blinds-sectors.png "$photos/Blinds.jpg"
scripts/varnoth analyze --side 1024 --literature --chart docs/figures/dune-1024.png "$photos/Dune.jpg"
for range in 6:64 6:128 6:384; do
  scripts/varnoth analyze --side 1024 --literature --fit-range "$range" "$photos/Dune.jpg"
done
scripts/varnoth analyze --side 256 --literature --tiles --json "$photos/Dune.jpg" | tail -n 1
