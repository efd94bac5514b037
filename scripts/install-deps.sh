#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Lukimo needs to build, run and test.
# Packages already present are left alone, so a second run costs a second.
#   install-deps.sh [--windows]
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++
    qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
    # run: the platform plugins (X11 and Wayland) and the sound backend
    qt6-qpa-plugins qt6-wayland libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    # a virtual X display for machines without one, and the tools that drive
    # and photograph it
    xvfb xauth xdotool x11-utils imagemagick python3 fonts-dejavu-core fonts-ipafont-gothic
    # a headless Wayland compositor and a sound server of their own for the
    # end-to-end tests
    weston pulseaudio pulseaudio-utils
    # packaging and its checks
    dpkg-dev file desktop-file-utils appstream lintian
    # the benchmarks' instruction counts
    valgrind
)

# The Windows build, its tests under wine and its installer: where Qt for
# Windows is at hand, or when asked for (--windows).
if [ "${1:-}" = --windows ] || "$(dirname "$0")/windows-toolchain.sh" --check 2>/dev/null; then
    packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 nsis unzip locales)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
