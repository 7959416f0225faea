#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing (a warm machine never waits
# on apt). Usage: scripts/deps.sh [extra packages...]
set -euo pipefail

# libopenblas-dev is linked by the QR and solver benchmarks only, as the reference they are measured against;
# libqcustomplot-dev and libqcustomplot2.1-qt6 by the million-point line benchmark only, the same way.
# clang and its sanitizer run times build test.sh's sanitizer trees; lld links every tree.
# python3 (Debian's, with python3-xlrd) and libxml2-utils read the data export fixtures as other programs would.
packages=(cmake g++ clang libclang-rt-14-dev lld ninja-build pkg-config qt6-base-dev libpng-dev libjpeg-dev
          zlib1g-dev libgtest-dev libbenchmark-dev libopenblas-dev fonts-liberation2 xvfb xauth libgl-dev ccache imagemagick xdotool
          poppler-utils libqcustomplot-dev libqcustomplot2.1-qt6 python3 python3-xlrd libxml2-utils "$@")

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
