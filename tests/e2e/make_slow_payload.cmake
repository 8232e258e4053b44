# Stages the slow end-to-end payload: the demo payload, and COUNT small filler files after its
# entries in the order file, so copying takes long enough to be cancelled however fast it goes.
#   cmake -DDEMO_PAYLOAD=dir -DDEMO_ORDER=file -DOUT=dir -DCOUNT=n -P make_slow_payload.cmake
file(REMOVE_RECURSE ${OUT}/payload)
file(COPY ${DEMO_PAYLOAD}/ DESTINATION ${OUT}/payload)
file(MAKE_DIRECTORY ${OUT}/payload/Skin/filler)
file(READ ${DEMO_ORDER} order)
foreach(i RANGE 1 ${COUNT})
    string(LENGTH "${i}" digits)
    math(EXPR pad "4 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    file(WRITE ${OUT}/payload/Skin/filler/${zeros}${i}.dat "filler ${i}\r\n")
    string(APPEND order "Skin\\filler\\${zeros}${i}.dat\n")
endforeach()
file(WRITE ${OUT}/payload.order "${order}")
