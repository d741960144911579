#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
set -euo pipefail
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

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
