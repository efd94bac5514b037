# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build: a GUI executable with its icon and version, a run
# folder that holds everything the program loads, and the two packages, a
# portable zip and a per-user installer. Included by CMakeLists.txt when
# building for Windows (see cmake/mingw-w64-x86_64.cmake).

enable_language(RC)

# A GUI program: no console window opens with it, and Qt's entry point turns
# WinMain into main(argc, argv).
set_target_properties(lukimo PROPERTIES WIN32_EXECUTABLE ON)

# The icon, packed at build time from the rendered PNG sizes.
set(LUKIMO_ICO "${CMAKE_BINARY_DIR}/lukimo.ico")
set(icon_sizes 16 24 32 48 64 128 256)
list(TRANSFORM icon_sizes REPLACE "(.+)" "${CMAKE_SOURCE_DIR}/data/icons/lukimo-\\1.png"
     OUTPUT_VARIABLE icon_pngs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT "${LUKIMO_ICO}"
    COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/scripts/make-ico.py" "${LUKIMO_ICO}" ${icon_pngs}
    DEPENDS "${CMAKE_SOURCE_DIR}/scripts/make-ico.py" ${icon_pngs} VERBATIM)
configure_file("${CMAKE_CURRENT_LIST_DIR}/lukimo.rc.in" "${CMAKE_BINARY_DIR}/lukimo.rc" @ONLY)
set_source_files_properties("${CMAKE_BINARY_DIR}/lukimo.rc" PROPERTIES OBJECT_DEPENDS "${LUKIMO_ICO}")
target_sources(lukimo PRIVATE "${CMAKE_BINARY_DIR}/lukimo.rc")

# What the program loads at run time beside the executable: the platform
# plugin, the native style, and every DLL these, the program and its sound
# plugin import.
# Qt's folders come from its package's install paths, which hold for a Qt
# built in any configuration.
set(LUKIMO_QT_BIN_DIR "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
set(LUKIMO_QT_PLUGIN_DIR "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}")
set(LUKIMO_QT_PLUGINS platforms/qwindows.dll styles/qwindowsvistastyle.dll)
foreach(plugin IN LISTS LUKIMO_QT_PLUGINS)
    if(NOT EXISTS "${LUKIMO_QT_PLUGIN_DIR}/${plugin}")
        message(FATAL_ERROR "Qt for Windows has no ${plugin} in ${LUKIMO_QT_PLUGIN_DIR}")
    endif()
endforeach()
set(LUKIMO_DLL_SEARCH "${LUKIMO_QT_BIN_DIR}" ${LUKIMO_MINGW_RUNTIME_DIRS})
list(JOIN LUKIMO_QT_PLUGINS "|" plugins)
list(JOIN LUKIMO_DLL_SEARCH "|" search)
set(LUKIMO_DEPLOY_ARGS -DQT_PLUGIN_DIR=${LUKIMO_QT_PLUGIN_DIR} -DQT_PLUGINS=${plugins}
    -DSEARCH=${search} -DOBJDUMP=${CMAKE_OBJDUMP} -DSTRIP=${CMAKE_STRIP}
    -DWORK=${CMAKE_BINARY_DIR}/deploy-names)
add_custom_command(TARGET lukimo POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DDEST=${LUKIMO_RUN_DIR}
            "-DBINARIES=$<TARGET_FILE:lukimo>|$<TARGET_FILE:lukimosound>"
            -DLIST=${CMAKE_BINARY_DIR}/shipped-dlls.txt ${LUKIMO_DEPLOY_ARGS}
            -P ${CMAKE_CURRENT_LIST_DIR}/windows-deploy.cmake
    VERBATIM)
add_dependencies(lukimo lukimosound)

# The packages lay the run folder out flat: the program, its DLLs and
# plugins, and the files it reads from its working directory, which its
# shortcut and the portable zip make its own folder.
install(TARGETS lukimo RUNTIME DESTINATION .)
install(TARGETS lukimosound LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(DIRECTORY html wav DESTINATION .)
install(FILES ${LUKIMO_QM_FILES} DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
# The licences of what the packages carry beside the program, and where the
# source of each is (NOTICE.txt).
include(${CMAKE_CURRENT_LIST_DIR}/notice.cmake)
lukimo_write_notice("${CMAKE_BINARY_DIR}/NOTICE.txt" "Lukimo ${LUKIMO_VERSION} for Windows" LICENSE.txt
    QT_PREFIX "${QT6_INSTALL_PREFIX}"
    QT_USE "its DLLs and plugins beside the program (Qt6*.dll, platforms, styles)"
    QT_LICENCES "licences/Qt-base.txt, licences/Qt-multimedia.txt, licences/LGPL-3.txt and licences/GPL-2.txt"
    PARTS "GCC's C++ and support runtime (libstdc++-6.dll, libgcc_s_seh-1.dll)|gcc-mingw-w64-x86-64-posix-runtime|beside the program|GPL version 3 with the GCC Runtime Library Exception, licences/GCC-runtime.txt"
          "MinGW-w64's POSIX threads (libwinpthread-1.dll)|mingw-w64-x86-64-dev|beside the program|licences/MinGW-w64.txt"
          "The compiler that built Lukimo|g++-mingw-w64-x86-64-posix|not shipped, named for a rebuild|GPL version 3 or later")
install(FILES "${CMAKE_BINARY_DIR}/NOTICE.txt" DESTINATION .)
foreach(licence
        "Qt-base.txt=/usr/share/doc/libqt6core6/copyright"
        "Qt-multimedia.txt=/usr/share/doc/libqt6multimedia6/copyright"
        "LGPL-3.txt=/usr/share/common-licenses/LGPL-3"
        "GPL-2.txt=/usr/share/common-licenses/GPL-2"
        "GCC-runtime.txt=/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright"
        "MinGW-w64.txt=/usr/share/doc/mingw-w64-x86-64-dev/copyright")
    string(REGEX REPLACE "=.*" "" name "${licence}")
    string(REGEX REPLACE "^[^=]*=" "" file "${licence}")
    install(FILES "${file}" DESTINATION licences RENAME "${name}")
endforeach()
list(JOIN LUKIMO_DEPLOY_ARGS "\" \"" deploy_args)
install(CODE "
    execute_process(COMMAND \"${CMAKE_COMMAND}\" \"-DDEST=\${CMAKE_INSTALL_PREFIX}\"
        \"-DBINARIES=\${CMAKE_INSTALL_PREFIX}/lukimo.exe|\${CMAKE_INSTALL_PREFIX}/lukimosound.dll\"
        \"${deploy_args}\" -P \"${CMAKE_CURRENT_LIST_DIR}/windows-deploy.cmake\"
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR \"could not put the DLLs beside the program\")
    endif()")

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME lukimo)
set(CPACK_PACKAGE_VERSION "${LUKIMO_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Lukimo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Number picker for the Numbers3 lottery")
set(CPACK_PACKAGE_FILE_NAME "lukimo-${LUKIMO_VERSION}-windows-x86_64")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Lukimo)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Lukimo)
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")

# The installer: for the user who runs it, without administrator rights,
# into %LOCALAPPDATA%\Programs as Windows suggests for such programs (see
# NSIS.template.in).
# NSIS shows its own texts in the language of Windows (Japanese among them).
set(CPACK_NSIS_PACKAGE_NAME Lukimo)
set(CPACK_NSIS_DISPLAY_NAME Lukimo)
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_MUI_ICON "${LUKIMO_ICO}")
set(CPACK_NSIS_MUI_UNIICON "${LUKIMO_ICO}")
set(CPACK_NSIS_INSTALLED_ICON_NAME lukimo.exe)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# A shortcut starts the program in the folder it was created in, which File
# /r leaves at the last subfolder it unpacked; the program's own folder is
# where it finds its catalogue, help and sound.
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  SetOutPath '$INSTDIR'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Lukimo.lnk' '$INSTDIR\\\\lukimo.exe'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Lukimo.lnk'")
# The installer's script is the project's own cmake/NSIS.template.in, which
# CPack takes from the module path in place of its own.
list(PREPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
include(CPack)

# CTest runs the cross-built tests under wine, through a wrapper that keeps
# them out of the user's own wine prefix and finds the DLLs where the
# deployment takes them from.
list(JOIN LUKIMO_DLL_SEARCH ":" wine_dll_path)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tests/windows/wine-run.sh" "${wine_dll_path}")
