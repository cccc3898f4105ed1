# cmake -DWORK_DIR=DIR -P HostExecutesTest.cmake: varnoth_host_executes on a
# program that runs, one that fails, one this host cannot execute (an ELF
# file for a machine that does not exist) and one that is not there.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/HostExecutes.cmake)

function(expect program_and_args expected_result expected_reason)
  varnoth_host_executes(result reason ${program_and_args})
  if(NOT "${result}" STREQUAL "${expected_result}" OR NOT reason MATCHES "${expected_reason}")
    message(FATAL_ERROR "${program_and_args}: ${result} [${reason}], "
                        "expected ${expected_result} [${expected_reason}]")
  endif()
endfunction()

expect("${CMAKE_COMMAND};--version" TRUE "^$")
expect("${CMAKE_COMMAND};-E;false" FALSE "-E false failed \\(exit status 1\\)$")

# An ELF header for a machine that does not exist (machine field, bytes
# 18-19, 0xfeed; the zero bytes of a real header are ones): no kernel loads
# it.
set(foreign ${WORK_DIR}/foreign-machine-program)
string(ASCII 127 69 76 70 2 1 1 1 1 1 1 1 1 1 1 1 2 1 237 254 header)
file(WRITE ${foreign} "${header}")
file(CHMOD ${foreign} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
expect("${foreign};--version" FALSE "^.*/foreign-machine-program --version failed \\(")

expect("${WORK_DIR}/no-such-program;--version" FALSE "/no-such-program is not installed$")
