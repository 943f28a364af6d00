# SPDX-License-Identifier: GPL-2.0-or-later
# Debian's hardening flags: what dpkg-buildflags adds with hardening=+all
# over hardening=-all (stack protector, fortified C library calls, format
# checks, relocations read-only and bound at start). Every optimised build
# but the sanitizer ones gets them, so the programs tested are the programs
# packed; the fortified calls would get in the way of the sanitizers' own
# checks, and without optimisation the C library cannot fortify them.
option(KDX_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)

# The flags of `kind` (CPPFLAGS, CXXFLAGS, LDFLAGS) that hardening adds.
function(kdx_hardening_flags kind result)
  foreach(setting on off)
    set(option "+all")
    if(setting STREQUAL "off")
      set(option "-all")
    endif()
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=${option} ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    separate_arguments(flags_${setting} UNIX_COMMAND "${flags}")
  endforeach()
  list(REMOVE_ITEM flags_on ${flags_off})
  set(${result} ${flags_on} PARENT_SCOPE)
endfunction()

if(KDX_HARDENING AND DPKG_BUILDFLAGS AND NOT KDX_SANITIZE AND NOT KDX_TSAN
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  kdx_hardening_flags(CPPFLAGS preprocessor)
  kdx_hardening_flags(CXXFLAGS compiler)
  kdx_hardening_flags(LDFLAGS linker)
  add_compile_options(${preprocessor} ${compiler})
  add_link_options(${linker})
  message(STATUS "Hardening: ${preprocessor} ${compiler} ${linker}")
endif()
