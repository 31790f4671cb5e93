# SPDX-License-Identifier: MIT
# The Debian package of what `cmake --install` installs (`scripts/package` builds it from the
# default build and checks it with lintian): manual pages, the Debian documents, the package's
# fields.

# Manual pages: scdoc sources in docs/man, turned into compressed roff at build time.
find_program(KR820_SCDOC scdoc)
find_program(KR820_GZIP gzip REQUIRED)
if(KR820_SCDOC)
  set(_man_pages)
  foreach(_page kr820.1 kr820-cli.1 kr820-emulator.1)
    set(_source ${PROJECT_SOURCE_DIR}/docs/man/${_page}.scd)
    if(NOT EXISTS ${_source})
      continue()
    endif()
    set(_built ${CMAKE_BINARY_DIR}/man/${_page}.gz)
    add_custom_command(OUTPUT ${_built}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND sh -c "'${KR820_SCDOC}' < '${_source}' | '${KR820_GZIP}' -9n > '${_built}'"
      DEPENDS ${_source} VERBATIM)
    list(APPEND _man_pages ${_built})
  endforeach()
  add_custom_target(kr820_man_pages ALL DEPENDS ${_man_pages})
  install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "scdoc not found: no manual pages (scripts/install-deps installs it)")
endif()

# Debian wants the changelog compressed, byte for byte the same on every build (-n: no name, no
# time stamp).
set(_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "'${KR820_GZIP}' -9n < '${PROJECT_SOURCE_DIR}/packaging/changelog' > '${_changelog}'"
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(kr820_changelog ALL DEPENDS ${_changelog})
set(_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kr820)
install(FILES ${_changelog} ${PROJECT_SOURCE_DIR}/packaging/copyright
  ${PROJECT_SOURCE_DIR}/packaging/README.Debian DESTINATION ${_doc_dir})

# The service of kr820-cli serve: its systemd unit, its options and the broker's password as
# configuration files the package manager keeps when the user has changed them, readable by root
# alone (systemd hands them to the service), and the maintainer scripts that tell systemd of a
# new unit and stop the service when the package goes.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kr820-serve.service DESTINATION /lib/systemd/system)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/serve.conf DESTINATION /etc/kr820
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/mqtt-password DESTINATION /etc/kr820
  PERMISSIONS OWNER_READ OWNER_WRITE)
install(FILES ${PROJECT_SOURCE_DIR}/docs/feeds.md DESTINATION ${_doc_dir})
# Why those two files are not 0644, for the package checker.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kr820)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/conffiles
  ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/prerm
  ${PROJECT_SOURCE_DIR}/packaging/postrm)
# Scripts 0755, the rest 0644, whatever the checkout's modes.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_PACKAGE_NAME kr820)
set(CPACK_PACKAGE_VENDOR "KR820 companion developers")
set(CPACK_PACKAGE_CONTACT
  "KR820 companion developers <maintainers@users.noreply.c-seed-0f0116cc.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion programs of the KR820 thermocouple recorder")
# CPack puts the summary first as the synopsis and indents these lines after it, each under 80
# characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The KR820 is a two-channel thermocouple temperature recorder on a serial
port. This package holds the desktop program kr820 (live display, real-time
graphs, logger download, meter setup, printing), the command-line program
kr820-cli (live readings, logger download, export for spreadsheets and
scripts; runs without a display) and the meter emulator kr820-emulator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Built from the default build (RelWithDebInfo), the programs stripped on installing. CMake
# 3.25's debug symbol package (CPACK_DEBIAN_DEBUGINFO_PACKAGE) fails lintian (its md5sums name
# the staging folder, no copyright), so the symbols stay in the build tree.
set(CPACK_STRIP_FILES ON)
# The libraries the programs link, found by dpkg-shlibdeps; the window system plugin is loaded
# at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)

# The compiler's version note (.comment) says nothing to a user and differs between builders.
install(CODE "
  foreach(_program kr820 kr820-cli kr820-emulator)
    set(_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${_program}\")
    if(EXISTS \"\${_file}\")
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${_file}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()")
