# Compares the dynamic symbols that LIBRARY defines with the list in
# EXPECTED (one symbol per line; # starts a comment). Fails on any symbol
# missing or any symbol exported beyond the list.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE nmOut RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${nmOut}")
set(actual "")
foreach(line IN LISTS lines)
  # "<address> <type> <name>"; versioned names carry @VERSION.
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^ @]+)")
    list(APPEND actual "${CMAKE_MATCH_1}")
  endif()
endforeach()

file(STRINGS ${EXPECTED} expectedLines)
set(expected "")
foreach(line IN LISTS expectedLines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line)
    list(APPEND expected "${line}")
  endif()
endforeach()

set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
set(extra ${actual})
list(REMOVE_ITEM extra ${expected})
list(LENGTH expected n)
if(missing OR extra)
  message(FATAL_ERROR "export table differs from ${EXPECTED}\n missing: ${missing}\n unexpected: ${extra}")
endif()
message(STATUS "all ${n} expected symbols exported, nothing else")
