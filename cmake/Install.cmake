# What `cmake --install`, the Debian package and the Linux tarball put where a
# Linux system expects it: plug-ins in lib/vst (/usr/lib/vst for a system
# install), the renderer in bin with its manual page, the README and the
# copyright notices in share/doc/nubbel. `cmake --install --strip` and the
# packages strip what they install; the build tree keeps its debug information.
# The Windows DLLs go into the zip that ./dev package makes.
if(WIN32)
  return()
endif()

foreach(plugin Nubbel3 Nubbel)
  if(TARGET ${plugin})
    install(TARGETS ${plugin} LIBRARY DESTINATION lib/vst)
  endif()
endforeach()

if(TARGET nubbel-render)
  install(TARGETS nubbel-render RUNTIME DESTINATION bin)

  # The manual page is made from --help and --version, so it never falls out
  # of step with the options.
  find_program(NUBBEL_HELP2MAN help2man REQUIRED)
  set(manpage "${CMAKE_BINARY_DIR}/man/nubbel-render.1.gz")
  add_custom_command(
    OUTPUT "${manpage}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/man"
    COMMAND "${NUBBEL_HELP2MAN}" --no-info --section=1 --source=Nubbel
            "--name=render MIDI through a VST 2 plug-in into WAV files"
            "--output=${CMAKE_BINARY_DIR}/man/nubbel-render.1" "$<TARGET_FILE:nubbel-render>"
    COMMAND gzip -9nf "${CMAKE_BINARY_DIR}/man/nubbel-render.1"
    DEPENDS nubbel-render
    VERBATIM)
  add_custom_target(nubbel-render-manpage ALL DEPENDS "${manpage}")
  install(FILES "${manpage}" DESTINATION share/man/man1)
endif()

# The release history, compressed as Debian keeps it.
set(changelog "${CMAKE_BINARY_DIR}/packaging/changelog.gz")
add_custom_command(
  OUTPUT "${changelog}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/packaging"
  COMMAND gzip -9nc "${PROJECT_SOURCE_DIR}/packaging/changelog" > "${changelog}"
  DEPENDS "${PROJECT_SOURCE_DIR}/packaging/changelog")
add_custom_target(nubbel-changelog ALL DEPENDS "${changelog}")

install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/packaging/copyright" "${changelog}"
        DESTINATION share/doc/nubbel)
