# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build's tests, run under wine. The unit tests share one wine
# prefix that this run creates in the build folder and removes at its end, so
# that nothing touches the user's own ~/.wine.
set(LUKIMO_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")

# What the platform layer does on Windows alone.
add_executable(tst_windowsplatform ${CMAKE_CURRENT_LIST_DIR}/tst_windowsplatform.cpp)
target_link_libraries(tst_windowsplatform PRIVATE lukimotestsupport)
add_test(NAME tst_windowsplatform COMMAND tst_windowsplatform)
set_tests_properties(tst_windowsplatform PROPERTIES LABELS unit TIMEOUT 300)
add_test(NAME wine_prefix_create
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine-prefix.sh create "${LUKIMO_WINEPREFIX}")
add_test(NAME wine_prefix_remove
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine-prefix.sh remove "${LUKIMO_WINEPREFIX}")
set_tests_properties(wine_prefix_create PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 300)
set_tests_properties(wine_prefix_remove PROPERTIES FIXTURES_CLEANUP wineprefix TIMEOUT 120)

get_property(tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS tests)
    get_test_property(${test} LABELS labels)
    if(labels STREQUAL "unit")
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "LUKIMO_WINEPREFIX=${LUKIMO_WINEPREFIX}")
        set_property(TEST ${test} PROPERTY FIXTURES_REQUIRED wineprefix)
    endif()
endforeach()

# Under wine the click-sound test's process, its tests all passed, now and
# then never ends: its last thread waits in the exit's teardown of the audio
# system. The real program, whose exit the end-to-end test below checks,
# does not; the runner names the hang and passes the test.
set_property(TEST tst_clicksound APPEND PROPERTY ENVIRONMENT
    "LUKIMO_WINE_EXIT_HANG=the audio system's teardown at exit under wine")

# The two packages, built once for the tests below.
set(package "${CMAKE_BINARY_DIR}/lukimo-${LUKIMO_VERSION}-windows-x86_64")
add_test(NAME windows_packages
    COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(windows_packages PROPERTIES FIXTURES_SETUP packages LABELS package
    TIMEOUT 600)

# The program from the unpacked portable zip, under wine with the real
# Windows platform plugin on an X server of the test's own; and the
# installer. Each creates a wine prefix of its own.
add_test(NAME wine_e2e COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e-wine.sh "${package}.zip")
add_test(NAME wine_installer
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/installer-wine.sh "${package}.exe")
set_tests_properties(wine_e2e wine_installer PROPERTIES FIXTURES_REQUIRED packages
    LABELS e2e TIMEOUT 600)
