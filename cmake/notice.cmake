# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The notice a package made for another platform carries (NOTICE.txt): what
# it holds besides Lukimo, under which licence, and the exact source of
# each part, read from what the build used: the record the Qt carries
# (lukimo-qt-source.txt, see scripts/unpack-qt.sh) and the versions of the
# Debian packages installed here.
#   lukimo_write_notice(OUT TITLE LICENCE_FILE
#       QT_PREFIX dir QT_USE text QT_LICENCES files...
#       PARTS "name|package|how it is used|licence files" ...)

set(LUKIMO_SOURCE_URL "" CACHE STRING
    "Where this version's source is published, for the notice of the browser and Windows packages")

function(lukimo_write_notice out title licence_file)
    cmake_parse_arguments(arg "" "QT_PREFIX;QT_USE" "QT_LICENCES;PARTS" ${ARGN})
    set(record "${arg_QT_PREFIX}/lukimo-qt-source.txt")
    if(NOT EXISTS "${record}")
        message(FATAL_ERROR "${arg_QT_PREFIX} carries no record of the Qt source it was built from "
            "(lukimo-qt-source.txt); build it with the project's script or unpack a recorded pack")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${record}")
    file(STRINGS "${record}" qt_lines)

    if(LUKIMO_SOURCE_URL)
        set(where "published at ${LUKIMO_SOURCE_URL}")
    else()
        set(where "which whoever gave you this package must offer you with it")
    endif()
    string(JOIN "\n" text
        "${title}"
        ""
        "Lukimo ${LUKIMO_VERSION}, free software under the GNU General Public License,"
        "version 3 or later (${licence_file}). Its complete source is the Lukimo ${LUKIMO_VERSION}"
        "source tree (the Debian source package lukimo_${LUKIMO_VERSION}),"
        "${where}."
        ""
        "This package also holds:"
        ""
        "Qt, ${arg_QT_USE}"
        "  Licence: GNU LGPL version 3 (or GPL version 2 or 3), with the licences of"
        "  its bundled third-party libraries: ${arg_QT_LICENCES}")
    foreach(line IN LISTS qt_lines)
        string(APPEND text "\n  ${line}")
    endforeach()
    string(APPEND text "\n  You may replace it with a Qt of your own: rebuild Lukimo's source against it.")
    foreach(part IN LISTS arg_PARTS)
        string(REPLACE "|" ";" fields "${part}")
        list(GET fields 0 name)
        list(GET fields 1 package)
        list(GET fields 2 use)
        list(GET fields 3 licences)
        execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version}|\${Version}" "${package}"
            OUTPUT_VARIABLE source RESULT_VARIABLE failed ERROR_QUIET)
        if(failed OR NOT source)
            message(FATAL_ERROR "the notice names ${package}, which is not installed")
        endif()
        string(REPLACE "|" ";" source "${source}")
        list(GET source 0 source_package)
        list(GET source 1 version)
        string(APPEND text "\n\n${name}, ${use}\n  Licence: ${licences}\n"
            "  Source: the Debian source package ${source_package}, built as ${package} ${version}")
    endforeach()
    string(APPEND text "\n\nEach Debian source package is in Debian's archive by its name and version\n"
        "(apt-get source NAME=VERSION), with the patches Debian applies.\n")
    file(WRITE "${out}.new" "${text}")
    configure_file("${out}.new" "${out}" COPYONLY)
endfunction()
