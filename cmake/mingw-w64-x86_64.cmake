# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Cross-builds Lukimo for 64-bit Windows with Debian's MinGW-w64 (the POSIX
# thread model, which std::thread and Qt's own threads need). Pass the Qt for
# Windows prefix in LUKIMO_WINDOWS_QT; moc, rcc, uic and lrelease come from
# the host's Qt of the same version.
#   cmake -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DLUKIMO_WINDOWS_QT=/path/to/qt-6.4.2-mingw-w64
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
# CMake guesses the binutils from the compiler's name, which the -posix
# suffix defeats.
set(CMAKE_STRIP /usr/bin/${triple}-strip CACHE FILEPATH "")
set(CMAKE_OBJDUMP /usr/bin/${triple}-objdump CACHE FILEPATH "")

# try_compile runs this file again in a fresh project; it needs the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUKIMO_WINDOWS_QT)
if(NOT LUKIMO_WINDOWS_QT AND DEFINED ENV{LUKIMO_WINDOWS_QT})
    set(LUKIMO_WINDOWS_QT "$ENV{LUKIMO_WINDOWS_QT}")
endif()
if(NOT LUKIMO_WINDOWS_QT)
    message(FATAL_ERROR "Set LUKIMO_WINDOWS_QT to the Qt for Windows prefix "
        "(scripts/windows-toolchain.sh prints it).")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${triple} "${LUKIMO_WINDOWS_QT}")
set(CMAKE_PREFIX_PATH "${LUKIMO_WINDOWS_QT}")
# Libraries, headers and CMake packages are the target's; programs (moc,
# windres, wine, makensis) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# The MinGW runtime DLLs that every program built here needs beside it.
set(LUKIMO_MINGW_RUNTIME_DIRS /usr/lib/gcc/${triple}/12-posix /usr/${triple}/lib)

# CTest runs the cross-built tests under wine, through a wrapper that keeps
# them out of the user's own wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run.sh"
    "${LUKIMO_WINDOWS_QT}/bin")
