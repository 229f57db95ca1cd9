# CPack: the Debian package (nubbel_<version>_amd64.deb) and a tarball of the
# same Linux install tree for other distributions. ./dev package runs both.
if(WIN32)
  return()
endif()

set(CPACK_PACKAGE_NAME nubbel)
set(CPACK_PACKAGE_VERSION "${NUBBEL_VERSION}")
set(CPACK_PACKAGE_VENDOR "Zephyrine Vaultworks")
set(CPACK_PACKAGE_CONTACT "Nubbel developers <nubbel@zephyrine-vaultworks.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pad synthesizer plug-ins (VST 2) and a MIDI renderer")
set(CPACK_PACKAGE_DESCRIPTION
    "Nubbel3 and Nubbel are pad synthesizers as VST 2.4 instrument plug-ins. Their\nsound is one long random-phase wavetable played through envelopes and\nlow-pass filters. nubbel-render plays MIDI files through any VST 2 plug-in\ninto WAV files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME "nubbel-${NUBBEL_VERSION}-linux-x86_64")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zephyrine-vaultworks.com/nubbel")
# dpkg-shlibdeps declares what the binaries link: libsndfile and libsmf for
# the renderer, the C and C++ runtimes for all.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack adds an ldconfig call because the plug-ins sit below /usr/lib; it is
# harmless (lintian warns) and CPack offers no switch to leave it out.

include(CPack)
