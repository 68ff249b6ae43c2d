# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DOUT=<package folder> -DROOT=<scratch root> -P StageDeb.cmake
# Builds the Debian package of the build, as `make package` does, and unpacks it into an empty
# scratch root with dpkg -x.
file(REMOVE_RECURSE "${OUT}" "${ROOT}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT}"
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
file(GLOB packages "${OUT}/*.deb")
list(LENGTH packages count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack gave ${count} packages (status ${result}):\n${output}")
endif()
execute_process(COMMAND dpkg -x ${packages} "${ROOT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg -x ${packages} failed: ${result}")
endif()
