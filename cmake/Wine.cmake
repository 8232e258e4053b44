# Windows programs of this build run under Wine: ctest starts them through wine-run, which keeps one
# session (prefix, Xvfb display, persistent wineserver) per build folder.
set(SETUP_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${SETUP_WINE_RUN} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SETUP_WINE_RUN})

# Whether this host runs the programs of this build: an i686 build needs a host that runs 32-bit
# code. Asked at every configure, so a build folder follows the host it is on. Where they cannot
# run, the build is made all the same and its Windows tests are reported as skipped.
execute_process(
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-host.sh --can-run ${CMAKE_SYSTEM_PROCESSOR}
    RESULT_VARIABLE wine_rc OUTPUT_VARIABLE SETUP_WINE_SKIP_REASON OUTPUT_STRIP_TRAILING_WHITESPACE)
if(wine_rc EQUAL 0)
    set(SETUP_WINE_RUNS_HERE ON)
else()
    set(SETUP_WINE_RUNS_HERE OFF)
    message(STATUS "${SETUP_WINE_SKIP_REASON}")
endif()

# Keeps the desktop process alive during a session (scripts/wine-env.sh starts it): every build
# has it, so benchmarks run in the same kind of session as the tests.
add_executable(wine_keeper WIN32 ${CMAKE_SOURCE_DIR}/tests/windows/keeper.cpp)
set_target_properties(wine_keeper PROPERTIES OUTPUT_NAME keeper RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Every Windows test requires the fixture "wine"; ctest starts the session before and ends it after.
function(setup_wine_session_tests)
    if(NOT SETUP_WINE_RUNS_HERE)
        return()
    endif()
    add_test(NAME wine_session_start COMMAND ${SETUP_WINE_RUN} --start)
    add_test(NAME wine_session_stop COMMAND ${SETUP_WINE_RUN} --stop)
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()

# setup_add_skipped_test(name): stands for a Windows test this host cannot run; ctest reports it
# as skipped, and its output says why.
function(setup_add_skipped_test name)
    add_test(NAME ${name} COMMAND sh -c "echo \"$1\"; exit 77" skip "${SETUP_WINE_SKIP_REASON}")
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 LABELS windows)
endfunction()
