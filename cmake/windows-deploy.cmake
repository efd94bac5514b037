# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts beside a Windows program exactly the DLLs it loads: the Qt plugins
# named, and every DLL that they or the binaries import, followed through
# the imports of each, found in the search folders. A DLL found in none of
# them is part of Windows. Copies are stripped of their symbols.
# Lists are separated by "|", which survives a build tool's command line.
#   cmake -DDEST=folder -DBINARIES="a.exe|b.dll" -DQT_PLUGINS="platforms/qwindows.dll"
#         -DQT_PLUGIN_DIR=dir -DSEARCH="dir|dir" -DOBJDUMP=tool -DSTRIP=tool
#         [-DLIST=file] -P windows-deploy.cmake
cmake_minimum_required(VERSION 3.22)
foreach(required DEST BINARIES QT_PLUGIN_DIR SEARCH OBJDUMP STRIP)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "windows-deploy.cmake needs -D${required}=...")
    endif()
endforeach()
foreach(list BINARIES QT_PLUGINS SEARCH)
    string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()

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

set(queue ${BINARIES})
set(shipped)
foreach(plugin IN LISTS QT_PLUGINS)
    deploy_copy("${QT_PLUGIN_DIR}/${plugin}" "${DEST}/${plugin}")
    list(APPEND queue "${DEST}/${plugin}")
    list(APPEND shipped "${plugin}")
endforeach()

set(seen)
while(queue)
    list(POP_FRONT queue binary)
    execute_process(COMMAND "${OBJDUMP}" -p "${binary}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "could not read the imports of ${binary}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REPLACE "DLL Name: " "" name "${import}")
        string(STRIP "${name}" name)
        string(TOLOWER "${name}" key)
        if(key IN_LIST seen)
            continue()
        endif()
        list(APPEND seen "${key}")
        foreach(folder IN LISTS SEARCH)
            if(EXISTS "${folder}/${name}")
                deploy_copy("${folder}/${name}" "${DEST}/${name}")
                list(APPEND queue "${DEST}/${name}")
                list(APPEND shipped "${name}")
                break()
            endif()
        endforeach()
    endforeach()
endwhile()

if(DEFINED LIST)
    list(SORT shipped CASE INSENSITIVE)
    list(JOIN shipped "\n" text)
    file(WRITE "${LIST}" "${text}\n")
endif()
