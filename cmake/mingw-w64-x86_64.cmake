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

# moc, rcc, uic and lrelease come from the host's Qt, which says itself where
# it lives: Debian keeps its CMake packages in the multiarch library folder,
# whose name differs from one host architecture to the next. A QT_HOST_PATH
# given on the command line wins.
if(NOT DEFINED QT_HOST_PATH)
    find_program(LUKIMO_HOST_QTPATHS qtpaths6)
    if(NOT LUKIMO_HOST_QTPATHS)
        message(FATAL_ERROR "No qtpaths6: the host's Qt 6 tools (qt6-base-dev-tools) are missing.")
    endif()
    foreach(query QT_HOST_PREFIX QT_HOST_LIBS)
        execute_process(COMMAND "${LUKIMO_HOST_QTPATHS}" --query ${query}
            OUTPUT_VARIABLE ${query} OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
        if(failed OR NOT IS_DIRECTORY "${${query}}")
            message(FATAL_ERROR "The host's Qt does not say its ${query} (${LUKIMO_HOST_QTPATHS}).")
        endif()
    endforeach()
    set(QT_HOST_PATH "${QT_HOST_PREFIX}")
    set(QT_HOST_PATH_CMAKE_DIR "${QT_HOST_LIBS}/cmake")
endif()

# The MinGW runtime DLLs that every program built here needs beside it, in
# the folders the compiler itself takes them from; GCC's is named after its
# version.
set(LUKIMO_MINGW_RUNTIME_DIRS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    # GCC answers with the bare name when it has no such file.
    if(failed OR NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}.")
    endif()
    get_filename_component(folder "${found}" DIRECTORY)
    get_filename_component(folder "${folder}" REALPATH)
    list(APPEND LUKIMO_MINGW_RUNTIME_DIRS "${folder}")
endforeach()
list(REMOVE_DUPLICATES LUKIMO_MINGW_RUNTIME_DIRS)
