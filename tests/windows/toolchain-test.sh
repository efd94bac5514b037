#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Windows toolchain file finds MinGW's runtime DLLs and the host's Qt
# where the machine keeps them, not where Debian 12 happens to: here a
# stand-in compiler of another GCC version and a stand-in host Qt of another
# architecture, which answer as the real ones do. A compiler without one of
# the runtime DLLs stops the configuration, naming it. No file of the
# Windows build names a version's or an architecture's folder. Needs only
# CMake.
#   toolchain-test.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d -t lukimo-toolchain.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

gcc_dir=$work/lib/gcc/x86_64-w64-mingw32/99-posix
sysroot_lib=$work/x86_64-w64-mingw32/lib
host_libs=$work/host/lib/riscv64-linux-gnu
mkdir -p "$work/bin" "$gcc_dir" "$sysroot_lib" "$host_libs/cmake" "$work/qt"
# GCC answers -print-file-name with the path it would use, relative to its
# own folder, and with the bare name when it has no such file.
cat >"$work/bin/x86_64-w64-mingw32-g++-posix" <<SH
#!/bin/sh
name=\${1#-print-file-name=}
for dir in "$gcc_dir" "$gcc_dir/../../../../x86_64-w64-mingw32/lib"; do
    [ -e "\$dir/\$name" ] && { echo "\$dir/\$name"; exit 0; }
done
echo "\$name"
SH
cat >"$work/bin/qtpaths6" <<SH
#!/bin/sh
case "\$2" in
QT_HOST_PREFIX) echo "$work/host" ;;
QT_HOST_LIBS) echo "$host_libs" ;;
*) exit 1 ;;
esac
SH
chmod +x "$work/bin/"*
cat >"$work/probe.cmake" <<CMAKE
include("$root/cmake/mingw-w64-x86_64.cmake")
message("runtime=\${LUKIMO_MINGW_RUNTIME_DIRS}")
message("host=\${QT_HOST_PATH}")
message("host-cmake=\${QT_HOST_PATH_CMAKE_DIR}")
CMAKE
probe() {
    PATH="$work/bin:$PATH" cmake -DLUKIMO_WINDOWS_QT="$work/qt" -P "$work/probe.cmake" 2>&1
}

touch "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" "$sysroot_lib/libwinpthread-1.dll"
out=$(probe) || fail "the toolchain file stopped: $out"
grep -qxF "runtime=$gcc_dir;$sysroot_lib" <<<"$out" ||
    fail "the runtime DLLs' folders are not the compiler's: $(grep runtime= <<<"$out")"
grep -qxF "host=$work/host" <<<"$out" || fail "the host Qt is not the one qtpaths6 names: $out"
grep -qxF "host-cmake=$host_libs/cmake" <<<"$out" ||
    fail "the host Qt's CMake folder is not its library folder's: $(grep host-cmake= <<<"$out")"

for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    find "$work" -name "$dll" -delete
    if out=$(probe); then
        fail "a compiler without $dll passes"
    fi
    grep -qF "$dll" <<<"$out" || fail "a compiler without $dll stops without naming it: $out"
    touch "$gcc_dir/$dll"
done

if grep -rnE '(^|[^-a-z0-9_])[0-9]+-posix|[a-z0-9_]+-linux-gnu[a-z]*' "$root/cmake" "$root/scripts/"*windows* \
    "$root/tests/windows" --exclude="$(basename "$0")"; then
    fail "these name a GCC version's or a host architecture's folder"
fi
echo "toolchain: the runtime DLLs and the host Qt found where a compiler and a Qt of another" \
    "version and architecture keep them; a missing runtime DLL named; no version's folder in the files"
