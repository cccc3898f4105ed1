# Fails when the machine code of a LIBRARY (a list of files) holds a fused
# multiply-add or multiply-subtract instruction of any form (x86 vfmadd/
# vfmsub/vfnmadd/vfnmsub/vfmaddsub, Arm fmadd/fmsub/fnmadd/fnmsub/fmla/fmls):
# such an instruction rounds once for two operations, and the libraries'
# results depend on each operation being rounded on its own.
#   cmake -DOBJDUMP=objdump -DLIBRARY=file[;file...] -P CheckNoFusedMultiplyAdd.cmake
if(NOT LIBRARY)
  message(FATAL_ERROR "no LIBRARY to read")
endif()
foreach(library IN LISTS LIBRARY)
  execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${library}
                  OUTPUT_VARIABLE code RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump -d failed on ${library}")
  endif()
  string(REGEX MATCH "[ \t](v?fn?m(add|sub)[a-z0-9]*|fml[as])[ \t][^\n]*" fused "${code}")
  if(fused)
    message(FATAL_ERROR "${library} holds a fused multiply-add: ${fused}")
  endif()
  string(LENGTH "${code}" length)
  if(length LESS 10000)
    message(FATAL_ERROR "objdump -d gave no code for ${library}")
  endif()
  message(STATUS "no fused multiply-add in ${library}")
endforeach()
