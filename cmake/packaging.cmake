# SPDX-License-Identifier: GPL-2.0-or-later
# What `cmake --install` lays out and what `cpack` packs, in two parts that
# become two Debian packages:
#   tools    (norvik-kdx-tools): kdxconvert and kdxinfo, libkdx.so and
#            libkdxplatform.so in lib/<multiarch>/norvik-kdx (found through
#            the programs' run path, so nothing unversioned sits in the
#            system's library folder), the device table, manual pages, bash
#            completion. No Qt: a server or a script needs nothing more.
#   desktop  (norvik-kdx-converter): the desktop program, its player
#            pictures and help page (share/norvik-kdx), desktop entry, icon,
#            AppStream metainfo and manual page; it depends on the tools.
# Each package has its copyright and changelog in share/doc/<package>. The
# internal static libraries and the build tools are not installed.

set(KDX_TOOLS_PACKAGE norvik-kdx-tools)
set(KDX_DESKTOP_PACKAGE norvik-kdx-converter)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# Manual pages and the changelog are installed compressed, the same bytes
# every build (no name or time stamp in the gzip header).
find_program(GZIP gzip REQUIRED)
set(compressed_files)
foreach(source man/kdxconvert.1 man/kdxinfo.1 man/norvik-kdx-converter.1 changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${generated}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND ${GZIP} -9n -c ${packaging}/${source} > ${generated}/${name}.gz
    DEPENDS ${packaging}/${source}
    COMMENT "Compressing ${name}")
  list(APPEND compressed_files ${generated}/${name}.gz)
endforeach()
add_custom_target(compressed_documents ALL DEPENDS ${compressed_files})

install(TARGETS kdxconvert kdxinfo RUNTIME DESTINATION ${KDX_INSTALL_BINDIR} COMPONENT tools)
# The encoder library finds the platform layer beside itself.
set_target_properties(kdx PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS kdx platform_base LIBRARY DESTINATION ${KDX_INSTALL_LIBDIR} COMPONENT tools NAMELINK_COMPONENT tools)
install(FILES ${generated}/kdxconvert.1.gz ${generated}/kdxinfo.1.gz DESTINATION share/man/man1 COMPONENT tools)
install(FILES ${packaging}/bash-completion/kdxconvert ${packaging}/bash-completion/kdxinfo
  DESTINATION share/bash-completion/completions COMPONENT tools)
set(components tools)
if(KDX_BUILD_CONVERTER)
  set(desktop ${CMAKE_SOURCE_DIR}/converter/gui/app/desktop)
  install(TARGETS norvik-kdx-converter RUNTIME DESTINATION ${KDX_INSTALL_BINDIR} COMPONENT desktop)
  install(FILES ${desktop}/norvik-kdx-converter.desktop DESTINATION share/applications COMPONENT desktop)
  install(FILES ${desktop}/norvik-kdx-converter.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT desktop)
  install(FILES ${packaging}/example.norvik.kdx_converter.metainfo.xml DESTINATION share/metainfo COMPONENT desktop)
  install(FILES ${generated}/norvik-kdx-converter.1.gz DESTINATION share/man/man1 COMPONENT desktop)
  list(APPEND components desktop)
endif()
foreach(component IN LISTS components)
  string(TOUPPER ${component} upper)
  install(FILES ${packaging}/copyright ${generated}/changelog.gz
    DESTINATION share/doc/${KDX_${upper}_PACKAGE} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KDX_DESKTOP_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Norvik")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE ${KDX_DESKTOP_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Norvik KDX Video Converter developers <kdx-converter@norvik.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://norvik.example/kdx-converter")
# The runtime packages come from the libraries the programs link: FFmpeg,
# DevIL, libsndfile, libresample and pugixml for the tools, Qt, libmtp and
# libudev besides for the desktop program. libkdx.so and libkdxplatform.so
# are the tools package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME ${KDX_TOOLS_PACKAGE})
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
  "command-line video converter for Norvik portable media players\n\
kdxconvert converts video files of any kind FFmpeg reads (avi, mpg, vob,\n\
wmv, asf, rm, mov, mp4, mkv, webm and more) into KDX files for the Norvik\n\
family of portable media players, a batch at a time, with progress lines\n\
for logs and JSON results for scripts. kdxinfo describes and checks KDX\n\
files and takes out their frames and sound.\n\
.\n\
The package holds both programs and the encoder library libkdx; it needs\n\
no graphical toolkit.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME ${KDX_DESKTOP_PACKAGE})
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
  "video converter for Norvik portable media players\n\
The Norvik KDX Video Converter converts ordinary video files (avi, mpg, vob,\n\
wmv, asf, rm, mov, mp4, mkv, webm and more) into KDX files for the Norvik\n\
family of portable media players and copies them onto a connected player,\n\
as a USB drive or an MTP device.\n\
.\n\
This package holds the desktop program; the command-line tools and the\n\
encoder library are in norvik-kdx-tools.")
# The tools in the very version; Qt draws the program's SVG icon with a
# plug-in no program links.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "${KDX_TOOLS_PACKAGE} (= ${PROJECT_VERSION}), libqt6svg6")
# F1 shows the help page through the desktop's opener, xdg-open.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
