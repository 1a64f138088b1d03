# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files, before it makes the Debian package.
#
# The shared library dependencies come from dpkg-shlibdeps run here, not from
# CPack's own CPACK_DEBIAN_PACKAGE_SHLIBDEPS: that one also adds postinst and
# postrm scripts calling ldconfig whenever a shared object lies anywhere below
# /usr/lib, the help viewer in the program's private folder included, which
# ldconfig never looks at.
#
# When the files are stripped, their .comment section (the compilers'
# versions) goes too, as dh_strip does.
#
# The catalogue is the one file its owner is meant to edit: it moves to
# /etc/trimwise as a configuration file, whose changes dpkg keeps across
# upgrades (asking when the packaged one changed too), and the program finds
# it beside itself through a link.

set(appdir "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_TRX_APPDIR}")
set(etcdir "${CPACK_TEMPORARY_DIRECTORY}/etc/trimwise")
if(NOT EXISTS "${appdir}/TRX.ini" OR IS_SYMLINK "${appdir}/TRX.ini")
  message(FATAL_ERROR "No catalogue staged in ${appdir}")
endif()
file(MAKE_DIRECTORY "${etcdir}")
file(RENAME "${appdir}/TRX.ini" "${etcdir}/TRX.ini")
file(CREATE_LINK /etc/trimwise/TRX.ini "${appdir}/TRX.ini" SYMBOLIC)

file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(elf_files)
foreach(f IN LISTS staged)
  if(NOT IS_SYMLINK "${f}")
    file(READ "${f}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      list(APPEND elf_files "${f}")
    endif()
  endif()
endforeach()
if(NOT elf_files)
  message(FATAL_ERROR "No ELF file staged in ${CPACK_TEMPORARY_DIRECTORY}")
endif()

if(CPACK_STRIP_FILES)
  foreach(f IN LISTS elf_files)
    execute_process(COMMAND "${CPACK_TRX_OBJCOPY}" --remove-section=.comment "${f}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()

# dpkg-shlibdeps wants to run in a source package (an empty debian/control)
# and finds the package's root, for RUNPATH $ORIGIN, by its DEBIAN folder.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(MAKE_DIRECTORY "${work}/debian" "${CPACK_TEMPORARY_DIRECTORY}/DEBIAN")
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O ${elf_files}
                WORKING_DIRECTORY "${work}"
                OUTPUT_VARIABLE substvars
                ERROR_VARIABLE complaints
                RESULT_VARIABLE result)
file(REMOVE_RECURSE "${CPACK_TEMPORARY_DIRECTORY}/DEBIAN")
if(NOT result EQUAL 0 OR NOT substvars MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${complaints}")
endif()
set(shlibs "${CMAKE_MATCH_1}")
if(complaints)
  message(WARNING "dpkg-shlibdeps: ${complaints}")
endif()
if(CPACK_DEBIAN_PACKAGE_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${shlibs}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${shlibs}")
endif()
