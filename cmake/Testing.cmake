# GoogleTest is built from Debian's source copy for every target, so the same
# tests run natively and, cross-compiled, under wine.
if(NUBBEL_TESTS)
  enable_testing()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
endif()

# nubbel_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [ARGS ...] [LABELS ...])
# One executable, registered as one ctest test; under a cross build ctest runs
# it through CMAKE_CROSSCOMPILING_EMULATOR (wine).
function(nubbel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  # 77: the program could not run here at all (see cmake/wine-run.sh).
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
