# KISS FFT from the pinned upstream source that tools/setup-machine.sh unpacks
# into build/third_party. Compiled here with our flags for every target, so the
# native build and both DLLs produce identical tables.
set(NUBBEL_KISSFFT_DIR "${CMAKE_SOURCE_DIR}/build/third_party/kissfft" CACHE PATH "KISS FFT source tree")
if(NOT EXISTS "${NUBBEL_KISSFFT_DIR}/kiss_fftr.c")
  message(FATAL_ERROR "KISS FFT sources not found in ${NUBBEL_KISSFFT_DIR}: run tools/setup-machine.sh first")
endif()
add_library(kissfft STATIC "${NUBBEL_KISSFFT_DIR}/kiss_fft.c" "${NUBBEL_KISSFFT_DIR}/kiss_fftr.c")
target_include_directories(kissfft SYSTEM PUBLIC "${NUBBEL_KISSFFT_DIR}")
target_compile_definitions(kissfft PUBLIC kiss_fft_scalar=float)
target_compile_options(kissfft PRIVATE -w)
