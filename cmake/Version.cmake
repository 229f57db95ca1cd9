# nubbel_version.h: the project's version for the tools, from project(VERSION).
configure_file("${CMAKE_CURRENT_LIST_DIR}/nubbel_version.h.in" "${CMAKE_BINARY_DIR}/generated/nubbel_version.h" @ONLY)
add_library(nubbel_version INTERFACE)
target_include_directories(nubbel_version INTERFACE "${CMAKE_BINARY_DIR}/generated")
