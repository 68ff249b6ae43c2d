# SPDX-License-Identifier: GPL-3.0-or-later
# `make package` (cpack) builds one Debian package with everything `cmake --install` installs.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr (the Makefile does): the program names its installed
# documentation and the library record names the installed library by their configured paths.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qmf4150)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QMF4150 evaluation software developers")
set(CPACK_PACKAGE_CONTACT "QMF4150 evaluation software developers <maintainers@qmf4150.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "evaluation software for the QMF4150 hardware monitor")
set(CPACK_PACKAGE_DESCRIPTION
  "Desktop software for engineers who evaluate the QMF4150, a hardware-monitor
chip on the SMBus: it finds the chip on the evaluation board (printer port) or
on the PC's SMBus, reads and writes every register, shows gauges and a strip
chart, logs readings, sets the chip up through wizards and saves and loads all
registers. A simulated evaluation board works without hardware.
Contains the program qmf4150eval, the command-line tool qmf4150ctl and the
calculation library libVexaCalculate00 with its development files.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://qmf4150.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program draws its own icon when Qt cannot read the installed SVG one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

set(QMF_HARDWARE_DOC ${CMAKE_INSTALL_FULL_DOCDIR}/hardware.md)
set(QMF_DEB_CONTROL ${CMAKE_BINARY_DIR}/deb-control)
configure_file(${CMAKE_CURRENT_LIST_DIR}/postinst.in ${QMF_DEB_CONTROL}/postinst @ONLY)
# The library's shlibs entry for packages that link it, and the loader cache refreshed by dpkg's
# trigger (not by maintainer scripts).
file(WRITE ${QMF_DEB_CONTROL}/shlibs
  "libVexaCalculate00 1 ${CPACK_PACKAGE_NAME} (>= ${PROJECT_VERSION})\n")
file(WRITE ${QMF_DEB_CONTROL}/triggers "activate-noawait ldconfig\n")
configure_file(${CMAKE_CURRENT_LIST_DIR}/postrm ${QMF_DEB_CONTROL}/postrm COPYONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${QMF_DEB_CONTROL}/postinst ${QMF_DEB_CONTROL}/postrm
  ${QMF_DEB_CONTROL}/shlibs ${QMF_DEB_CONTROL}/triggers)
# The system-wide library record under /etc is the administrator's to change: a conffile.
if(CMAKE_INSTALL_FULL_SYSCONFDIR MATCHES "^/etc(/|$)")
  file(WRITE ${QMF_DEB_CONTROL}/conffiles
    "${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/VexaCalculate00/registration.ini\n")
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${QMF_DEB_CONTROL}/conffiles)
endif()
include(CPack)
