# SPDX-FileCopyrightText: 2026 Quillbook developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Strict compilation for our own code.
function(quillbook_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                               QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()

# A static library for one folder of src/. Its headers are included as
# "folder/name.h", and only by what links the library: the include path
# holds a link to this folder alone, not the whole of src/.
function(quillbook_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set(headers "${CMAKE_BINARY_DIR}/headers/${folder}")
  file(MAKE_DIRECTORY "${headers}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${headers}/${folder}" SYMBOLIC)
  target_include_directories(${target} PUBLIC "${headers}")
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  quillbook_strict(${target})
endfunction()

# How long one test may run before CTest stops it and counts it failed; the
# mutation runner lowers it so that a hang costs little.
set(QUILLBOOK_TEST_TIMEOUT 300 CACHE STRING "Seconds one test may run before CTest stops it")

# A Qt Test executable registered with CTest; runs headless.
function(quillbook_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_DEPENDS})
  quillbook_strict(${name})
  target_compile_definitions(${name} PRIVATE
    QUILLBOOK_APP_DIR="${QUILLBOOK_APP_DIR}"
    QUILLBOOK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    TIMEOUT ${QUILLBOOK_TEST_TIMEOUT})
endfunction()

# Copies a file into the build's application folder at build time (as
# `relative`); appends the copy to the list `outputs`. What is installed, and
# where, the folders' own install rules say.
function(quillbook_app_file source relative outputs)
  get_filename_component(folder "${QUILLBOOK_APP_DIR}/${relative}" DIRECTORY)
  add_custom_command(OUTPUT "${QUILLBOOK_APP_DIR}/${relative}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${source}" "${QUILLBOOK_APP_DIR}/${relative}"
    DEPENDS "${source}" VERBATIM)
  set(${outputs} ${${outputs}} "${QUILLBOOK_APP_DIR}/${relative}" PARENT_SCOPE)
endfunction()
