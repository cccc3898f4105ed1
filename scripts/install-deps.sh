#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, when any
# is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ make binutils
  openjdk-17-jdk-headless
  libgtest-dev libbenchmark-dev
  junit5
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
