# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DROOT=<scratch root> -P StageInstall.cmake
# Installs the build into an empty scratch root, as a packager's `cmake --install` with DESTDIR.
file(REMOVE_RECURSE "${ROOT}")
set(ENV{DESTDIR} "${ROOT}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}"
  OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed: ${result}")
endif()
