# Every target computes the same float samples: no contraction into fused
# multiply-adds, and SSE2 instead of x87 on 32-bit x86.
add_compile_options(-ffp-contract=off -Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # The sources silence some of GCC's warnings by name; clang knows not all.
  add_compile_options(-Wno-unknown-warning-option)
endif()
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i686|i386|x86$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

if(NUBBEL_SANITIZE)
  add_compile_options(-fsanitize=${NUBBEL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${NUBBEL_SANITIZE})
endif()

# The fuzz flavour: everything instrumented for libFuzzer's coverage and
# checked by the address and undefined-behaviour sanitizers; only the fuzz
# programs (tests/fuzz) link the fuzzer itself.
option(NUBBEL_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(NUBBEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "NUBBEL_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # The DLLs and test programs depend on system DLLs only.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  set(CMAKE_CXX_VISIBILITY_PRESET hidden)
  set(CMAKE_C_VISIBILITY_PRESET hidden)
  set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
endif()

# For targets with run-time AVX paths. 64-bit Windows only promises 16-byte
# stack alignment and GCC cannot realign the stack for the 32-byte spills of
# AVX code there; with unaligned moves those paths are safe on any stack (and
# cost nothing on CPUs with AVX).
function(nubbel_allow_runtime_avx target)
  if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wa,-muse-unaligned-vector-move)
  endif()
endfunction()
