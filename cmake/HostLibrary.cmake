# setup_host_library(TARGET HEADER LIBRARY): an interface target for a library of the build
# machine (a Debian -dev package), found by one of its headers and its library name.
include_guard(GLOBAL)
function(setup_host_library target header library)
    find_path(${target}_INCLUDE ${header} REQUIRED)
    find_library(${target}_LIBRARY ${library} REQUIRED)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${${target}_INCLUDE})
    target_link_libraries(${target} INTERFACE ${${target}_LIBRARY})
endfunction()
