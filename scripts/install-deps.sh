#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Lukimo needs: `run` to build and start
# the program, `test` for that and every test (with the Windows build's when
# Qt for Windows is at hand), `windows` for the Windows build too, `web` for
# the host's side of the browser build (its chroot), `web-test` for driving
# the page, `fuzz` for the program's build and its fuzz targets
# (scripts/fuzz.sh). What the build needs is debian/control's Build-Depends,
# read from there (`run` and `fuzz` leave out those only the tests need);
# this script names only what running and testing need besides. Every
# program a script of the project calls comes from a package named here,
# from debian/control or from an Essential package (scripts/exec-audit.py
# checks that on a whole test run). Packages already present are left alone,
# so a second run costs a second and needs no root; two runs side by side
# wait for each other.
#   scripts/install-deps.sh run|test|windows|web|web-test|fuzz
#   scripts/install-deps.sh list   every package named here, one a line
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)

run_packages=(
    # the platform plugins (X11 and Wayland), the sound backend, fonts
    qt6-qpa-plugins qt6-wayland libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    fonts-dejavu-core fonts-ipafont-gothic
    # a virtual X display and a screenshot for machines without a display
    xvfb xauth xdotool imagemagick
)
test_packages=(
    # the tests' tools: window control, a Wayland compositor and a sound
    # server of their own
    x11-utils weston pulseaudio-utils
    # a small window manager, for the test of how windows come back
    jwm
    # a session bus, an accessibility bus and a client of it, for the screen
    # reader's end-to-end test
    dbus at-spi2-core gir1.2-atspi-2.0 python3-gi
    # the Debian package's checks, which copy a checkout's tracked files
    file desktop-file-utils appstream lintian git
    # the benchmarks' instruction counts
    valgrind
)

windows_packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 nsis unzip locales)
# The browser build runs in a Debian 13 chroot made with debootstrap, mounted
# in a namespace of its own (unshare, findmnt: util-linux) and fed a packed
# Qt (xz).
web_packages=(debootstrap util-linux xz-utils)
# The browsers and node that drive the page; the rest comes from npm.
# WebKitGTK's MiniBrowser comes with its driver, and needs an X display of
# its own (the right click goes through the X server: xdotool), and for
# Japanese the locale's source to generate it from (locales).
web_test_packages=(chromium firefox-esr webkit2gtk-driver nodejs npm unzip xvfb xdotool locales)
# Debian's clang with its libFuzzer and sanitizer runtimes, and the
# symbolizer that turns a finding's stack into source lines.
# CMake also takes clang's own linker, lld, as the linker where it finds it.
fuzz_packages=(clang libclang-rt-14-dev llvm-14 lld-14)
# The build profile of the build dependencies: without the tests' own for
# `run`, which builds and starts the program alone.
profiles=()
build_deps=check
case "${1:-}" in
list)
    printf '%s\n' "${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}" \
        "${web_packages[@]}" "${web_test_packages[@]}" "${fuzz_packages[@]}"
    exit 0
    ;;
run)
    packages=("${run_packages[@]}")
    profiles=(-P nocheck)
    ;;
test)
    packages=("${run_packages[@]}" "${test_packages[@]}")
    # The Windows build and its tests under wine, where Qt for Windows is at
    # hand.
    if "$(dirname "$0")/windows-toolchain.sh" --check 2>/dev/null; then
        packages+=("${windows_packages[@]}")
    fi
    ;;
fuzz)
    packages=("${fuzz_packages[@]}")
    profiles=(-P nocheck)
    ;;
windows) packages=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}") ;;
web)
    packages=("${web_packages[@]}")
    build_deps=met
    ;;
web-test)
    packages=()
    for p in "${web_test_packages[@]}"; do
        # A node from elsewhere (NodeSource's nodejs) carries its own npm,
        # which Debian's npm conflicts with.
        case $p in
        nodejs | npm) command -v node >/dev/null && command -v npm >/dev/null && continue ;;
        esac
        packages+=("$p")
    done
    build_deps=met
    ;;
*)
    echo "usage: $0 run|test|windows|web|web-test|fuzz" >&2
    exit 2
    ;;
esac

installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null |
    sed -n 's/^ii  *//p' || true)
missing=()
for p in "${packages[@]}"; do
    grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
# dpkg-checkbuilddeps comes with dpkg-dev, which a fresh system may lack; the
# build dependencies bring it (build-essential).
if [ $build_deps = check ] && ! unmet=$(dpkg-checkbuilddeps "${profiles[@]}" "$source_dir/debian/control" 2>&1); then
    build_deps=unmet
    if command -v dpkg-checkbuilddeps >/dev/null; then
        echo "${unmet#dpkg-checkbuilddeps: error: }"
    else
        echo "Missing dpkg-dev, which checks the build dependencies"
    fi
else
    build_deps=met
fi
[ ${#missing[@]} -eq 0 ] && [ $build_deps = met ] && exit 0

[ ${#missing[@]} -eq 0 ] || echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
        echo "Please install as root:" >&2
        [ $build_deps = met ] ||
            echo "  apt-get build-dep --no-install-recommends ${profiles[*]+${profiles[*]} }$source_dir" >&2
        [ ${#missing[@]} -eq 0 ] || echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    }
    sudo="sudo"
fi
# Another checkout's install may hold the package manager's lock: wait for
# it rather than fail.
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=1200)
"${apt[@]}" update
if [ $build_deps = unmet ]; then
    "${apt[@]}" build-dep -y --no-install-recommends "${profiles[@]}" "$source_dir"
fi
if [ ${#missing[@]} -gt 0 ]; then
    "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
fi
