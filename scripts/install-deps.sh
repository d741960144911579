#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
#   scripts/install-deps.sh             what building, testing and benchmarking need
#   scripts/install-deps.sh PACKAGE...  only the packages named
# The set-up is made for Debian 12 (bookworm); it installs with apt-get, as root
# or through sudo. Without either it names what is missing and stops.
set -euo pipefail
if [ $# -gt 0 ]; then
  PACKAGES=("$@")
else
  PACKAGES=(cmake g++ clang make pkg-config
            qtbase5-dev qtmultimedia5-dev libqt5svg5-dev libqwt-qt5-dev libqt5multimedia5-plugins
            tzdata
            xvfb xauth fonts-dejavu-core
            pulseaudio)   # the sound test plays into a null sink of a server of its own
  # Qt's time zones read the system's zone database (tzdata): without it every zone,
  # the tests' TZ=Europe/Berlin too, silently reads as UTC. Other locales need nothing
  # installed: Qt formats with its own locale data, whatever glibc has generated.
  # Only the benchmarks use FFTW, as a yardstick.
  [ "${QUILLON_NO_FFTW:-0}" = 1 ] || PACKAGES+=(libfftw3-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" = 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  {
    echo "These Debian packages are missing: ${missing[*]}"
    echo "There is no sudo here to install them. Install them as root, then run this again:"
    echo "  su -c 'apt-get update && apt-get install --no-install-recommends ${missing[*]}'"
  } >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
"${SUDO[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
