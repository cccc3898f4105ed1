# The Windows x86 build (cmake/toolchains/i686-w64-mingw32.cmake, preset
# mingw32): the DLL Varnoth_JNI.dll that a JVM on Windows loads.
include_guard(GLOBAL)

if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  message(FATAL_ERROR "the Windows build is for 32-bit x86 (i686-w64-mingw32)")
endif()

# The compiler runtimes are linked statically into every binary: libgcc,
# libstdc++, libgomp and winpthreads. The DLL then depends on system DLLs
# only (KERNEL32, msvcrt), so nothing but Varnoth_JNI.dll is shipped, and the
# test programs run in a bare Wine prefix. (tests/exports checks the DLL's
# imports.)
add_link_options(-static)
# Libraries that find modules look up (FindOpenMP's libgomp) as archives,
# never as import libraries of DLLs.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# Native methods compiled for this DLL carry no dllexport of their own: its
# export table comes from src/Java/win32/Varnoth_JNI.def (see jni_md.h there).
set(VARNOTH_WIN32_JNI_DIR ${CMAKE_SOURCE_DIR}/src/Java/win32)

# varnoth_windows_dll(target): Varnoth_JNI.dll (no "lib" prefix), exporting
# the fifteen decorated native-method names of the .def file.
function(varnoth_windows_dll target)
  target_sources(${target} PRIVATE ${VARNOTH_WIN32_JNI_DIR}/Varnoth_JNI.def)
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
endfunction()
