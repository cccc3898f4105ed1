# Compares the symbols that each LIBRARY exports with the list in the
# EXPECTED file at the same place (LIBRARY and EXPECTED are lists of equal
# length; an EXPECTED file holds one symbol per line, # starts a comment).
# Fails on any symbol missing or any symbol exported beyond a list, after
# checking every library.
#   ELF shared libraries: -DNM=nm, the dynamic symbols each defines.
#   PE DLLs: -DOBJDUMP=<target>-objdump, the names of each export table;
#     with -DALLOWED_IMPORTS=a.dll|b.dll it also fails on an import from any
#     other DLL (matched without regard to case).
set(failures "")

# The symbols that `library` exports, in `out`; the DLLs it imports from in
# `outImports` (PE only).
function(read_exports library out outImports)
  set(actual "")
  set(imports "")
  if(DEFINED OBJDUMP)
    execute_process(COMMAND ${OBJDUMP} -p ${library}
                    OUTPUT_VARIABLE dumpOut RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "objdump failed on ${library}")
    endif()
    string(REPLACE "\n" ";" lines "${dumpOut}")
    set(inNames FALSE)
    foreach(line IN LISTS lines)
      if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
        set(inNames TRUE)
      elseif(inNames AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
        list(APPEND actual "${CMAKE_MATCH_1}")
      elseif(inNames)
        set(inNames FALSE)
      endif()
      if(line MATCHES "^[ \t]*DLL Name: (.+)$")
        list(APPEND imports "${CMAKE_MATCH_1}")
      endif()
    endforeach()
  else()
    execute_process(COMMAND ${NM} -D --defined-only ${library}
                    OUTPUT_VARIABLE nmOut RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "nm failed on ${library}")
    endif()
    string(REPLACE "\n" ";" lines "${nmOut}")
    foreach(line IN LISTS lines)
      # "<address> <type> <name>"; versioned names carry @VERSION.
      if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^ @]+)")
        list(APPEND actual "${CMAKE_MATCH_1}")
      endif()
    endforeach()
  endif()
  set(${out} "${actual}" PARENT_SCOPE)
  set(${outImports} "${imports}" PARENT_SCOPE)
endfunction()

list(LENGTH LIBRARY libraryCount)
list(LENGTH EXPECTED expectedCount)
if(NOT libraryCount EQUAL expectedCount)
  message(FATAL_ERROR "${libraryCount} libraries but ${expectedCount} expected lists")
endif()
math(EXPR last "${libraryCount} - 1")
foreach(i RANGE ${last})
  list(GET LIBRARY ${i} library)
  list(GET EXPECTED ${i} expectedFile)
  read_exports(${library} actual imports)

  if(DEFINED ALLOWED_IMPORTS)
    string(TOLOWER "${ALLOWED_IMPORTS}" allowed)
    string(REPLACE "." "\\." allowed "${allowed}")
    foreach(dll IN LISTS imports)
      string(TOLOWER "${dll}" lower)
      if(NOT lower MATCHES "^(${allowed})$")
        string(APPEND failures "\n${library} imports from ${dll}; allowed: ${ALLOWED_IMPORTS}")
      endif()
    endforeach()
    message(STATUS "${library} imports from: ${imports}")
  endif()

  file(STRINGS ${expectedFile} expectedLines)
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
    string(APPEND failures "\nexport table of ${library} differs from ${expectedFile}\n"
                           " missing: ${missing}\n unexpected: ${extra}")
  else()
    message(STATUS "${library}: all ${n} expected symbols exported, nothing else")
  endif()
endforeach()
if(failures)
  string(STRIP "${failures}" failures)
  message(FATAL_ERROR "${failures}")
endif()
