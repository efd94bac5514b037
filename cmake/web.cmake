# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser build: the program with the files it reads bundled into one
# .data file, the page around it, and the page's zip. Included by
# CMakeLists.txt when building with Qt for WebAssembly (scripts/web-build.sh
# runs it in the Debian 13 chroot, where the tools named here are).

# The page is made for our Qt 6.8.2 alone: Debian 13's with the patches of
# patches/qt-wasm, whose series the Qt's record names.
if(NOT Qt6_VERSION VERSION_EQUAL 6.8.2)
    message(FATAL_ERROR "Qt for WebAssembly in ${QT6_INSTALL_PREFIX} is ${Qt6_VERSION}; the browser "
        "build is made for Qt 6.8.2 (scripts/build-qt-wasm.sh builds it)")
endif()
execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/qt-wasm-name.sh" --id
    OUTPUT_VARIABLE LUKIMO_QT_SERIES OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS "${QT6_INSTALL_PREFIX}/lukimo-qt-source.txt" qt_series REGEX "^Series: ")
if(NOT qt_series STREQUAL "Series: ${LUKIMO_QT_SERIES}")
    message(FATAL_ERROR "Qt for WebAssembly in ${QT6_INSTALL_PREFIX} is not built with this "
        "checkout's patches (series ${LUKIMO_QT_SERIES}; its record says '${qt_series}'); "
        "scripts/web-build.sh builds the right one")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${CMAKE_SOURCE_DIR}/patches/qt-wasm/series" "${QT6_INSTALL_PREFIX}/lukimo-qt-source.txt")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(LUKIMO_RSVG_CONVERT rsvg-convert REQUIRED)
set(LUKIMO_JA_FONT "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf"
    CACHE FILEPATH "The font whose subset draws the Japanese texts in the browser")
set(LUKIMO_THEME_COLOUR "#2e3436")
set(webpage "${CMAKE_SOURCE_DIR}/web/webpage.py")

# The browser has no Japanese font of Qt's own: a subset with exactly the
# characters of the catalogue and the help page, and the build fails when
# the font lacks one of them.
set(LUKIMO_WEB_FONT "${LUKIMO_RUN_DIR}/fonts/lukimo-ja.ttf")
file(GLOB LUKIMO_HELP_PAGES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/html/*.html")
set(fontsubset "${CMAKE_SOURCE_DIR}/web/fontsubset.py")
add_custom_command(OUTPUT "${LUKIMO_WEB_FONT}"
    COMMAND ${Python3_EXECUTABLE} "${fontsubset}" "${LUKIMO_WEB_FONT}" "${LUKIMO_JA_FONT}"
            "${CMAKE_SOURCE_DIR}/translations/lukimo_ja.ts" ${LUKIMO_HELP_PAGES}
    DEPENDS "${fontsubset}" "${LUKIMO_JA_FONT}" "${CMAKE_SOURCE_DIR}/translations/lukimo_ja.ts"
            ${LUKIMO_HELP_PAGES}
    VERBATIM)
add_custom_target(lukimo_webfont DEPENDS "${LUKIMO_WEB_FONT}")
add_dependencies(lukimo lukimo_webfont)

# The files the program reads from its working directory, which is / in the
# browser, arrive by path in lukimo.data.
target_link_options(lukimo PRIVATE
    "SHELL:--preload-file ${LUKIMO_RUN_DIR}/html@/html"
    "SHELL:--preload-file ${LUKIMO_RUN_DIR}/wav@/wav"
    "SHELL:--preload-file ${LUKIMO_RUN_DIR}/lukimo_ja.qm@/lukimo_ja.qm"
    "SHELL:--preload-file ${LUKIMO_WEB_FONT}@/fonts/lukimo-ja.ttf")
set_property(TARGET lukimo APPEND PROPERTY LINK_DEPENDS
    ${LUKIMO_STAGED_FILES} ${LUKIMO_QM_FILES} "${LUKIMO_WEB_FONT}")

# No JavaScript made from strings at run time (embind would otherwise build
# its call wrappers with new Function), so that the page's policy can forbid
# eval.
# And the final optimisation for size (-Oz after the build type's -O3 on
# the link line wins): 9 kB of brotli less with our Qt (bench/RESULTS.md);
# the bare page of the benchmark takes it too.
set(LUKIMO_WEB_LINK_OPTIONS "-sDYNAMIC_EXECUTION=0" "-Oz")
target_link_options(lukimo PRIVATE ${LUKIMO_WEB_LINK_OPTIONS})

# The bare QLCDNumber page the web benchmark measures the program against:
# the same toolchain and link flags, nothing of the program.
option(LUKIMO_WEB_FLOOR "Also build the bare QLCDNumber page of the web benchmark" OFF)
if(LUKIMO_WEB_FLOOR)
    qt_add_executable(bench_floor "${CMAKE_SOURCE_DIR}/bench/floor.cpp")
    target_include_directories(bench_floor PRIVATE "${CMAKE_SOURCE_DIR}/bench")
    target_link_libraries(bench_floor PRIVATE Qt6::Widgets lukimo_warnings)
    target_link_options(bench_floor PRIVATE ${LUKIMO_WEB_LINK_OPTIONS})
    set_target_properties(bench_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/page-floor")
endif()

# The icons of the installed web app, drawn from the program's icon.
set(icons "${CMAKE_BINARY_DIR}/icons")
set(svg "${CMAKE_SOURCE_DIR}/data/icons/lukimo.svg")
add_custom_command(OUTPUT "${icons}/icon-192.png" "${icons}/icon-512.png" "${icons}/icon-maskable-512.png"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${icons}"
    COMMAND ${LUKIMO_RSVG_CONVERT} --width 192 --height 192 "${svg}" --output "${icons}/icon-192.png"
    COMMAND ${LUKIMO_RSVG_CONVERT} --width 512 --height 512 "${svg}" --output "${icons}/icon-512.png"
    COMMAND ${Python3_EXECUTABLE} "${webpage}" maskable "${icons}/maskable.svg" "${svg}" "${LUKIMO_THEME_COLOUR}"
    COMMAND ${LUKIMO_RSVG_CONVERT} --width 512 --height 512 "${icons}/maskable.svg"
            --output "${icons}/icon-maskable-512.png"
    DEPENDS "${svg}" "${webpage}" VERBATIM)

# The licences of what the .wasm carries (Qt with the third-party libraries
# bundled in it, emscripten's C and C++ runtime) and of the font, as the
# Debian packages they come from state them.
include(${CMAKE_CURRENT_LIST_DIR}/notice.cmake)
lukimo_write_notice("${CMAKE_BINARY_DIR}/NOTICE.txt" "Lukimo ${LUKIMO_VERSION} for the browser" LICENSE.txt
    QT_PREFIX "${QT6_INSTALL_PREFIX}"
    QT_USE "statically linked into lukimo.wasm; its platform plugin for the browser, which our patches (patches/qt-wasm of Lukimo's source) change, is offered under the GPL version 3 alone"
    QT_LICENCES "licences/Qt-and-its-third-party-libraries.txt, licences/LGPL-3.txt and licences/GPL-2.txt"
    PARTS "emscripten's C and C++ runtime|emscripten|linked into lukimo.wasm and lukimo.js|licences/emscripten-runtime.txt"
          "The VL Gothic font|fonts-vlgothic|a subset of it in lukimo.data, which draws the Japanese texts|licences/VL-Gothic-font.txt")
set(LUKIMO_LICENCE_ENTRIES
    # .txt, so that a static host serves it as text, which a browser shows.
    "LICENSE.txt=${CMAKE_SOURCE_DIR}/LICENSE"
    "NOTICE.txt=${CMAKE_BINARY_DIR}/NOTICE.txt"
    "licences/Qt-and-its-third-party-libraries.txt=/usr/share/doc/libqt6core6t64/copyright"
    "licences/LGPL-3.txt=/usr/share/common-licenses/LGPL-3"
    "licences/GPL-2.txt=/usr/share/common-licenses/GPL-2"
    "licences/emscripten-runtime.txt=/usr/share/doc/emscripten/copyright"
    "licences/VL-Gothic-font.txt=/usr/share/doc/fonts-vlgothic/copyright")

set(zip "${CMAKE_BINARY_DIR}/lukimo-${LUKIMO_VERSION}-web.zip")
set(run "${LUKIMO_RUN_DIR}")
set(page_sources
    "index.html=${CMAKE_SOURCE_DIR}/web/index.html"
    "sw.js=${CMAKE_SOURCE_DIR}/web/sw.js"
    "manifest.webmanifest=${CMAKE_SOURCE_DIR}/web/manifest.webmanifest"
    "lukimo.js=${run}/lukimo.js"
    "lukimo.wasm=${run}/lukimo.wasm"
    "lukimo.data=${run}/lukimo.data"
    "qtloader.js=${run}/qtloader.js"
    "icon-192.png=${icons}/icon-192.png"
    "icon-512.png=${icons}/icon-512.png"
    "icon-maskable-512.png=${icons}/icon-maskable-512.png"
    ${LUKIMO_LICENCE_ENTRIES})
# The linker's other outputs (.wasm, .data, qtloader.js) are not files CMake
# knows of: the package follows the .js, which every link rewrites.
set(page_files)
foreach(entry ${page_sources})
    string(REGEX REPLACE "^[^=]*=" "" source "${entry}")
    if(NOT source MATCHES "^${run}/")
        list(APPEND page_files "${source}")
    endif()
endforeach()
add_custom_command(OUTPUT "${zip}"
    COMMAND ${Python3_EXECUTABLE} "${webpage}" package "${zip}" "${CMAKE_BINARY_DIR}/page"
            "${LUKIMO_VERSION}" $<TARGET_FILE:Qt6::QWasmIntegrationPlugin> ${page_sources}
    DEPENDS "${webpage}" $<TARGET_FILE:lukimo> $<TARGET_FILE:Qt6::QWasmIntegrationPlugin> ${page_files}
    VERBATIM)
add_custom_target(lukimo_web ALL DEPENDS "${zip}")
