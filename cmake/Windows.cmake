# The Windows builds: the DLLs Varnoth_JNI.dll and Varnoth_Spectra.dll that a
# JVM on Windows loads, for 32-bit x86 (cmake/toolchains/i686-w64-mingw32.cmake,
# presets mingw32*) and x86-64 (cmake/toolchains/x86_64-w64-mingw32.cmake,
# presets mingw64*).
include_guard(GLOBAL)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VARNOTH_WINDOWS_ARCH x86)
else()
  set(VARNOTH_WINDOWS_ARCH x86_64)
  # 64-bit Windows aligns the stack to 16 bytes only, and mingw-w64 GCC may
  # still assume 32 or 64 for AVX values it keeps on the stack (GCC bug
  # 54412), where an aligned move faults. The assembler writes every aligned
  # vector move as its unaligned form, which is as fast on aligned data and
  # never faults.
  add_compile_options(-Wa,-muse-unaligned-vector-move)
endif()

# The compiler runtimes are linked statically into every binary: libgcc,
# libstdc++, libgomp and winpthreads. The DLL then depends on system DLLs
# only (KERNEL32, msvcrt), so nothing but the two DLLs is shipped, and the
# test programs run in a bare Wine prefix. (tests/exports checks the DLLs'
# imports.)
add_link_options(-static)
# No link time in the PE headers (the file header's and the export table's
# time stamps, and the checksum over them): two builds of the same sources
# give the same bytes, as the Linux builds do.
add_link_options(-Wl,--no-insert-timestamp)
# Libraries that find modules look up (FindOpenMP's libgomp) as archives,
# never as import libraries of DLLs.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# Native methods compiled for these DLLs carry no dllexport of their own:
# each DLL's export table comes from src/Java/windows/NAME_ARCH.def (see
# jni_md.h there).
set(VARNOTH_WINDOWS_JNI_DIR ${CMAKE_SOURCE_DIR}/src/Java/windows)

# varnoth_windows_dll(target): target.dll (no "lib" prefix), exporting the
# native-method names of its .def file for the architecture,
# target_ARCH.def.
function(varnoth_windows_dll target)
  target_sources(${target} PRIVATE ${VARNOTH_WINDOWS_JNI_DIR}/${target}_${VARNOTH_WINDOWS_ARCH}.def)
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
endfunction()
