#!/usr/bin/env bash
# Installs what the build, the program and the tests need, once: it asks dpkg
# which packages are missing and only then runs apt-get. A script that has
# run it already sets VT_DEPS_INSTALLED=1 for the scripts it calls.
set -euo pipefail

if [ "${VT_DEPS_INSTALLED:-}" = 1 ]; then
  exit 0
fi

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-translations-l10n qt6-qpa-plugins
  qt6-wayland
  libgl-dev libxcb1-dev libwayland-dev
  libgtest-dev googletest
  xvfb
  libbenchmark-dev
  fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
