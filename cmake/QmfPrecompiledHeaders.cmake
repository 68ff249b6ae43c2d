# SPDX-License-Identifier: GPL-3.0-or-later
# Precompiled headers: most of a build's time goes into parsing the same Qt, QCustomPlot and
# GoogleTest headers for every file. A few host targets each precompile one header set once, and
# every target of the folders below reuses the set its folder needs, so that no CMakeLists.txt of
# a folder has to remember it. Libraries and executables are compiled with different
# position-independence flags, so each set has a library host and an executable host.

set(QMF_PCH_STD <algorithm> <array> <cmath> <functional> <memory> <optional> <stdexcept> <string>
  <vector>)
set(QMF_PCH_CORE ${QMF_PCH_STD} <QByteArray> <QFile> <QList> <QObject> <QString> <QStringList>
  <QtGlobal>)
set(QMF_PCH_GUI ${QMF_PCH_CORE} <QApplication> <QCheckBox> <QComboBox> <QFrame> <QGridLayout>
  <QGroupBox> <QHBoxLayout> <QLabel> <QLineEdit> <QListWidget> <QMdiArea> <QMdiSubWindow>
  <QMessageBox> <QPainter> <QPushButton> <QSlider> <QTabWidget> <QTimer> <QVBoxLayout>
  <QWidget>)
set(QMF_PCH_PLOT ${QMF_PCH_GUI} <qcustomplot.h>)
set(QMF_PCH_TEST <gtest/gtest.h> <gmock/gmock.h>)

set(QMF_PCH_DIR ${CMAKE_CURRENT_LIST_DIR}/pch)

# A host: a target that compiles nothing but one empty file against the header set.
function(qmf_pch_host name kind headers)
  if(kind STREQUAL "library")
    add_library(${name} STATIC ${QMF_PCH_DIR}/empty.cpp)
  else()
    add_executable(${name} ${QMF_PCH_DIR}/main.cpp)
  endif()
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_precompile_headers(${name} PRIVATE ${headers})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF
    EXCLUDE_FROM_ALL ON)
endfunction()

function(qmf_precompiled_header_hosts)
  find_package(QCustomPlotQt6 REQUIRED)
  qmf_pch_host(qmf_pch_core_lib library "${QMF_PCH_CORE}" Qt6::Core)
  qmf_pch_host(qmf_pch_gui_lib library "${QMF_PCH_GUI}" Qt6::Widgets)
  qmf_pch_host(qmf_pch_plot_lib library "${QMF_PCH_PLOT}" Qt6::Widgets
    QCustomPlotQt6::QCustomPlotQt6)
  qmf_pch_host(qmf_pch_plot_exe executable "${QMF_PCH_PLOT}" Qt6::Widgets
    QCustomPlotQt6::QCustomPlotQt6)
  if(TARGET GTest::gtest)
    qmf_pch_host(qmf_pch_core_test executable "${QMF_PCH_CORE};${QMF_PCH_TEST}" Qt6::Core
      GTest::gtest GTest::gmock)
    qmf_pch_host(qmf_pch_plot_test executable "${QMF_PCH_PLOT};${QMF_PCH_TEST}" Qt6::Widgets
      QCustomPlotQt6::QCustomPlotQt6 GTest::gtest GTest::gmock)
    qmf_test_compile_options(qmf_pch_core_test)
    qmf_test_compile_options(qmf_pch_plot_test)
  endif()
endfunction()

function(qmf_precompile_target target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(kind exe)
  elseif(type STREQUAL "STATIC_LIBRARY")
    set(kind lib)
  else()
    return()
  endif()
  if(target MATCHES "^qmf_pch_")
    return()
  endif()
  get_target_property(source_dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${source_dir})
  set(host)
  if(folder MATCHES "^tests/(calc|layers|fuzz)")
    return() # no Qt there
  elseif(folder MATCHES "^tests/gui" AND kind STREQUAL "exe")
    set(host qmf_pch_plot_test)
  elseif(folder MATCHES "^tests/" AND kind STREQUAL "exe")
    set(host qmf_pch_core_test)
  elseif(folder MATCHES "^(src/gui/widgets|src/gui/views|src/gui/shell|tests/gui|bench)")
    # These link the chart library, whose headers bring their own module definitions.
    set(host qmf_pch_plot_${kind})
  elseif(folder MATCHES "^src/gui/" AND kind STREQUAL "lib")
    set(host qmf_pch_gui_lib)
  elseif(folder MATCHES "^(src/core|src/boards|src/cli|tests)" AND kind STREQUAL "lib")
    set(host qmf_pch_core_lib)
  else()
    return()
  endif()
  if(TARGET ${host})
    target_precompile_headers(${target} REUSE_FROM ${host})
  endif()
endfunction()

# Tests are compiled for speed of building: a test needs no full optimisation, and without debug
# information its objects and precompiled headers are a fraction of the size. Debugging a test
# is what the sanitizer build (a Debug build) is for.
function(qmf_test_compile_options target)
  if(CMAKE_BUILD_TYPE MATCHES "^(RelWithDebInfo|Release)$")
    target_compile_options(${target} PRIVATE -O1 -g0)
  endif()
endfunction()

# Every target defined in `dir` and below.
function(qmf_precompile_folder dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    qmf_precompile_target(${target})
    get_target_property(source_dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${source_dir})
    get_target_property(type ${target} TYPE)
    if(folder MATCHES "^tests/" AND type STREQUAL "EXECUTABLE")
      qmf_test_compile_options(${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    qmf_precompile_folder(${subdir})
  endforeach()
endfunction()
