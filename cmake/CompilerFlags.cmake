# The one home of the compiler flags.
#
# Results are bit-exact to the order of floating-point operations written in
# the sources, so the compiler must not reassociate, contract a*b+c into a
# fused multiply-add, or keep intermediates in extended precision:
#   -ffp-contract=off     no FMA contraction, whatever the target offers
#   -fno-fast-math        IEEE semantics (never -ffast-math, -Ofast or
#                         -march=native in a shipped build)
#   -msse2 -mfpmath=sse   on 32-bit x86: double arithmetic in SSE2 registers,
#                         never the 80-bit x87 stack
#   -mno-fma              on x86: no fused multiply-add instructions at all,
#                         even when CMAKE_CXX_FLAGS names an FMA-capable
#                         -march (GCC's vectoriser can otherwise fuse a
#                         complex product despite -ffp-contract=off)
include_guard(GLOBAL)

set(VARNOTH_FP_FLAGS -ffp-contract=off -fno-fast-math)
set(VARNOTH_X86 OFF)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86|x86_64|AMD64|amd64)$")
  set(VARNOTH_X86 ON)
  list(APPEND VARNOTH_FP_FLAGS -mno-fma)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND VARNOTH_FP_FLAGS -msse2 -mfpmath=sse)
  endif()
endif()

set(VARNOTH_WARNING_FLAGS -Wall -Wextra)
if(VARNOTH_DEVELOPER)
  list(APPEND VARNOTH_WARNING_FLAGS -Werror)
endif()

# Applies the numeric and warning flags to one target.
function(varnoth_target_flags target)
  target_compile_options(${target} PRIVATE ${VARNOTH_FP_FLAGS} ${VARNOTH_WARNING_FLAGS})
  target_compile_features(${target} PUBLIC cxx_std_17)
endfunction()

# Sanitizer build: -DVARNOTH_SANITIZE=ON (the asan-ubsan preset).
if(VARNOTH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Fuzz build (the fuzz preset, clang): every unit instrumented for
# libFuzzer's coverage; the fuzz targets add libFuzzer's main.
if(VARNOTH_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
