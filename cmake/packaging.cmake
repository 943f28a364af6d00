# What `cmake --install` lays out and what `cpack -G DEB` packs:
#   bin/                      the programs
#   lib/                      libkdx.so and libkdxplatform.so, found through
#                             the programs' run path
#   share/norvik-kdx/         device table, player pictures, help page
#   share/applications/, share/icons/hicolor/scalable/apps/
#                             the desktop entry and icon
# The internal static libraries and the build tools are not installed.

install(TARGETS kdxconvert kdxinfo RUNTIME DESTINATION ${KDX_INSTALL_BINDIR})
if(KDX_BUILD_CONVERTER)
  install(TARGETS norvik-kdx-converter RUNTIME DESTINATION ${KDX_INSTALL_BINDIR})
endif()
# The encoder and the platform layer it shares with its callers.
install(TARGETS kdx platform_base LIBRARY DESTINATION ${KDX_INSTALL_LIBDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME norvik-kdx-converter)
set(CPACK_PACKAGE_VERSION 1.4.2.0)
set(CPACK_PACKAGE_VENDOR "Norvik")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video converter for Norvik portable media players")
set(CPACK_PACKAGE_DESCRIPTION
  "Converts ordinary video files (avi, mpg, vob, wmv, asf, rm, mov, mp4 and more)\n\
into KDX files for the Norvik family of portable media players and copies\n\
them onto a connected player, as a USB drive or an MTP device.\n\
.\n\
The package holds the desktop converter, the command-line batch converter\n\
kdxconvert, the KDX file inspector kdxinfo and the encoder library libkdx.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Norvik KDX Video Converter developers <kdx-converter@norvik.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://norvik.example/kdx-converter")
# The runtime packages come from the libraries the programs link
# (Qt, FFmpeg, DevIL, libsndfile, libresample, pugixml, libmtp, libudev);
# libkdx.so and libkdxplatform.so are the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws the desktop program's SVG icon with a plug-in no program links.
if(KDX_BUILD_CONVERTER)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
  # F1 shows the help page through the desktop's opener, xdg-open.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
include(CPack)
