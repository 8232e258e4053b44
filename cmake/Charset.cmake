# Every narrow literal of the product and its tests is GBK at run time, as the system's own texts are.
# Sources stay UTF-8. The host tools handle UTF-8 files and convert explicitly, so they do not use this.
function(setup_gbk_text target)
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP936)
endfunction()

function(setup_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
