# varnoth_host_executes(<result> <reason> <program> [<arg>...]): whether this
# host runs <program> with its arguments to an exit status of 0. <result> is
# set to TRUE or FALSE, <reason> to nothing or to why not: "<program> is not
# installed", or "<program> <arg>... failed (<status>)". A program built for a
# machine that this host does not execute fails: the kernel refuses it
# (ENOEXEC), and the shell that the process library then hands the file to
# stops at its first line.
include_guard(GLOBAL)

function(varnoth_host_executes result reason program)
  find_program(found NAMES ${program} NO_CACHE)
  if(NOT found)
    set(${result} FALSE PARENT_SCOPE)
    set(${reason} "${program} is not installed" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${found} ${ARGN}
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
  if(status STREQUAL "0")
    set(${result} TRUE PARENT_SCOPE)
    set(${reason} "" PARENT_SCOPE)
  else()
    if(status MATCHES "^[0-9]+$")
      set(status "exit status ${status}")
    endif()
    set(command ${program} ${ARGN})
    list(JOIN command " " command)
    set(${result} FALSE PARENT_SCOPE)
    set(${reason} "${command} failed (${status})" PARENT_SCOPE)
  endif()
endfunction()
