#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Lukimo needs: `run` to build and start
# the program, `test` for that and every test (with the Windows build's when
# Qt for Windows is at hand), `windows` for the Windows build too. Packages
# already present are left alone, so a second run costs a second.
#   scripts/install-deps.sh run|test|windows
set -euo pipefail

run_packages=(
    # build
    cmake ninja-build g++
    qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
    # run: the platform plugins (X11 and Wayland), the sound backend, fonts
    qt6-qpa-plugins qt6-wayland libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    fonts-dejavu-core fonts-ipafont-gothic
    # the build makes the window icon's pixels with it
    python3
    # a virtual X display and a screenshot for machines without a display
    xvfb xauth xdotool imagemagick
)
test_packages=(
    # the tests' tools: window control, a Wayland compositor and a sound
    # server of their own
    x11-utils weston pulseaudio pulseaudio-utils
    # a small window manager, for the test of how windows come back
    jwm
    # a session bus, an accessibility bus and a client of it, for the screen
    # reader's end-to-end test
    dbus at-spi2-core gir1.2-atspi-2.0 python3-gi
    # the Debian package and its checks
    dpkg-dev debhelper file desktop-file-utils appstream lintian
    # the benchmarks' instruction counts
    valgrind
)

windows_packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 nsis unzip locales)
case "${1:-}" in
run) packages=("${run_packages[@]}") ;;
test)
    packages=("${run_packages[@]}" "${test_packages[@]}")
    # The Windows build and its tests under wine, where Qt for Windows is at
    # hand.
    if "$(dirname "$0")/windows-toolchain.sh" --check 2>/dev/null; then
        packages+=("${windows_packages[@]}")
    fi
    ;;
windows) packages=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}") ;;
*)
    echo "usage: $0 run|test|windows" >&2
    exit 2
    ;;
esac

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
