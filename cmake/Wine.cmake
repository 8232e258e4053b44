# Windows programs of this build run under Wine: ctest starts them through wine-run, which keeps one
# session (prefix, Xvfb display, persistent wineserver) per build folder.
set(SETUP_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${SETUP_WINE_RUN} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SETUP_WINE_RUN})

# Every Windows test requires the fixture "wine"; ctest starts the session before and ends it after.
function(setup_wine_session_tests)
    add_test(NAME wine_session_start COMMAND ${SETUP_WINE_RUN} --start)
    add_test(NAME wine_session_stop COMMAND ${SETUP_WINE_RUN} --stop)
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
