# Fails when the machine code of LIBRARY holds a fused multiply-add or
# multiply-subtract instruction of any form (x86 vfmadd/vfmsub/vfnmadd/
# vfnmsub/vfmaddsub, Arm fmadd/fmsub/fnmadd/fnmsub/fmla/fmls): such an
# instruction rounds once for two operations, and the library's results
# depend on each operation being rounded on its own.
#   cmake -DOBJDUMP=objdump -DLIBRARY=file -P CheckNoFusedMultiplyAdd.cmake
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${LIBRARY}
                OUTPUT_VARIABLE code RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump -d failed on ${LIBRARY}")
endif()
string(REGEX MATCH "[ \t](v?fn?m(add|sub)[a-z0-9]*|fml[as])[ \t][^\n]*" fused "${code}")
if(fused)
  message(FATAL_ERROR "${LIBRARY} holds a fused multiply-add: ${fused}")
endif()
string(LENGTH "${code}" length)
if(length LESS 10000)
  message(FATAL_ERROR "objdump -d gave no code for ${LIBRARY}")
endif()
message(STATUS "no fused multiply-add in ${LIBRARY}")
