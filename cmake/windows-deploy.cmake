# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts beside a Windows program exactly the DLLs it loads: the Qt plugins
# named, and every DLL that they or the binaries import, followed through
# the imports of each, found in the search folders. Copies are stripped of
# their symbols. A DLL that is neither part of Windows nor in a search
# folder stops the deployment, rather than leaving a program that cannot
# start.
# Lists are separated by "|", which survives a build tool's command line.
#   cmake -DDEST=folder -DBINARIES="a.exe|b.dll" -DQT_PLUGINS="platforms/qwindows.dll"
#         -DQT_PLUGIN_DIR=dir -DSEARCH="dir|dir" -DOBJDUMP=tool -DSTRIP=tool
#         -DWORK=folder [-DLIST=file] -P windows-deploy.cmake
cmake_minimum_required(VERSION 3.25)
foreach(required DEST BINARIES QT_PLUGIN_DIR SEARCH OBJDUMP STRIP WORK)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "windows-deploy.cmake needs -D${required}=...")
    endif()
endforeach()
foreach(list BINARIES QT_PLUGINS SEARCH)
    string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()

# What Windows itself provides, as far as Qt and MinGW's runtime import it,
# in lower case: CMake compares DLL names in lower case, as Windows does. A
# Qt that imports one more stops the deployment, naming it.
set(windows_dlls
    "^api-ms-win-" "^ext-ms-"
    "^(advapi32|authz|bcrypt|comdlg32|crypt32|d3d9|d3d11|dnsapi|dwmapi|dwrite|dxgi|gdi32)\\.dll$"
    "^(imm32|iphlpapi|kernel32|mpr|msvcrt|netapi32|ole32|oleaut32|secur32|shcore|shell32)\\.dll$"
    "^(shlwapi|user32|userenv|uxtheme|version|winhttp|winmm|ws2_32|wtsapi32)\\.dll$")

# CMake looks the DLLs up by their lower-case names, which finds
# Qt6Core.dll on Windows' file systems but not on a case-sensitive one;
# a folder of lower-case links to them, in the order of the search folders,
# lets it find them here too. Each run has its own, so that the build's and
# the packages' deployments can run at once.
string(RANDOM LENGTH 12 run)
set(names "${WORK}/${run}")
file(MAKE_DIRECTORY "${names}")
foreach(folder IN LISTS SEARCH)
    file(GLOB dlls LIST_DIRECTORIES false "${folder}/*.dll")
    foreach(dll IN LISTS dlls)
        get_filename_component(name "${dll}" NAME)
        string(TOLOWER "${name}" key)
        if(NOT EXISTS "${names}/${key}")
            file(CREATE_LINK "${dll}" "${names}/${key}" SYMBOLIC)
        endif()
    endforeach()
endforeach()

set(plugins)
foreach(plugin IN LISTS QT_PLUGINS)
    list(APPEND plugins "${QT_PLUGIN_DIR}/${plugin}")
endforeach()
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${OBJDUMP}")
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${BINARIES}
    MODULES ${plugins}
    DIRECTORIES "${names}"
    PRE_EXCLUDE_REGEXES ${windows_dlls}
    RESOLVED_DEPENDENCIES_VAR found
    UNRESOLVED_DEPENDENCIES_VAR missing
    CONFLICTING_DEPENDENCIES_PREFIX twice)
if(missing)
    file(REMOVE_RECURSE "${names}")
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "Imported, yet neither part of Windows nor in ${SEARCH}: ${missing}")
endif()
# Windows looks beside the program first, where an earlier run left its
# copies; what is found only there has no source to come from.
file(REAL_PATH "${DEST}" dest)
foreach(name IN LISTS twice_FILENAMES)
    list(APPEND found ${twice_${name}})
endforeach()
set(sources)
set(stale)
foreach(dll IN LISTS found)
    get_filename_component(folder "${dll}" DIRECTORY)
    file(REAL_PATH "${folder}" folder)
    if(NOT folder STREQUAL dest)
        # A link of the lower-case folder names the file by its own name.
        if(IS_SYMLINK "${dll}")
            file(READ_SYMLINK "${dll}" dll)
        endif()
        list(APPEND sources "${dll}")
    else()
        get_filename_component(name "${dll}" NAME)
        string(TOLOWER "${name}" key)
        if(NOT key IN_LIST twice_FILENAMES)
            list(APPEND stale "${name}")
        endif()
    endif()
endforeach()
file(REMOVE_RECURSE "${names}")
if(stale)
    list(JOIN stale ", " stale)
    message(FATAL_ERROR "Imported, yet found only beside the program, in no search folder: ${stale}")
endif()

function(deploy_copy source destination)
    get_filename_component(folder "${destination}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    # Only a newer source is copied again, so that an incremental build
    # leaves the folder alone.
    if(NOT EXISTS "${destination}" OR "${source}" IS_NEWER_THAN "${destination}")
        file(COPY_FILE "${source}" "${destination}")
        execute_process(COMMAND "${STRIP}" --strip-all "${destination}" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "could not strip ${destination}")
        endif()
    endif()
endfunction()

set(shipped)
foreach(plugin IN LISTS QT_PLUGINS)
    deploy_copy("${QT_PLUGIN_DIR}/${plugin}" "${DEST}/${plugin}")
    list(APPEND shipped "${plugin}")
endforeach()
foreach(dll IN LISTS sources)
    get_filename_component(name "${dll}" NAME)
    deploy_copy("${dll}" "${DEST}/${name}")
    list(APPEND shipped "${name}")
endforeach()

if(DEFINED LIST)
    list(SORT shipped CASE INSENSITIVE)
    list(JOIN shipped "\n" text)
    file(WRITE "${LIST}" "${text}\n")
endif()
