# The zstd decoder as target setup_zstd. For Windows it is compiled here from the sources of
# Debian's libzstd source package, which scripts/bootstrap.sh unpacks under build/deps: only the
# decompression half, static, so the installer still imports system DLLs only. On the host the
# system's libzstd (libzstd-dev) serves, which also compresses.
if(TARGET setup_zstd)
    return()
endif()
if(WIN32)
    file(GLOB _zstd_dirs "${CMAKE_CURRENT_LIST_DIR}/../build/deps/libzstd-*")
    list(SORT _zstd_dirs)
    list(POP_BACK _zstd_dirs _zstd_dir)
    set(SETUP_ZSTD_SOURCE_DIR "${_zstd_dir}" CACHE PATH "Unpacked libzstd source package")
    if(NOT EXISTS "${SETUP_ZSTD_SOURCE_DIR}/lib/decompress/zstd_decompress.c")
        message(FATAL_ERROR "zstd sources missing under build/deps: run scripts/bootstrap.sh")
    endif()
    set(_lib "${SETUP_ZSTD_SOURCE_DIR}/lib")
    add_library(setup_zstd STATIC
        ${_lib}/common/debug.c ${_lib}/common/entropy_common.c ${_lib}/common/error_private.c
        ${_lib}/common/fse_decompress.c ${_lib}/common/xxhash.c ${_lib}/common/zstd_common.c
        ${_lib}/decompress/huf_decompress.c ${_lib}/decompress/zstd_ddict.c
        ${_lib}/decompress/zstd_decompress.c ${_lib}/decompress/zstd_decompress_block.c)
    # The assembly half of the Huffman decoder is for ELF only; no legacy formats, no tracing.
    target_compile_definitions(setup_zstd PRIVATE ZSTD_DISABLE_ASM ZSTD_LEGACY_SUPPORT=0
                                                  ZSTD_TRACE=0 XXH_NAMESPACE=ZSTD_)
    # Decoding speed is the installation's time: this library alone is built for speed.
    target_compile_options(setup_zstd PRIVATE -O2 -w)
    target_include_directories(setup_zstd SYSTEM PUBLIC ${_lib})
else()
    include(${CMAKE_CURRENT_LIST_DIR}/HostLibrary.cmake)
    setup_host_library(setup_zstd zstd.h zstd)
endif()
