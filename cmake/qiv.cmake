# Shared settings and helpers for the project's own targets.

# Our own code: warnings are errors. Third-party code is built without these.
set(QIV_WARNINGS -Wall -Wextra -Werror)
set(QIV_DEFINES UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Tests run under wine64, so only the 64-bit flavour registers them with
# CTest. The 32-bit flavour still builds every test program: they make up
# the 32-bit smoke suite that runs in a virtual machine.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QIV_REGISTER_TESTS ON)
else()
  set(QIV_REGISTER_TESTS OFF)
endif()

# Windows path of a Unix path, as wine sees it on drive Z:.
function(qiv_wine_path out unix_path)
  string(REPLACE "/" "\\" win "${unix_path}")
  set(${out} "Z:${win}" PARENT_SCOPE)
endfunction()

function(qiv_apply_settings target)
  target_compile_options(${target} PRIVATE ${QIV_WARNINGS})
  target_compile_definitions(${target} PUBLIC ${QIV_DEFINES})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# qiv_library(name SOURCES ... [DEPS ...])
function(qiv_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  qiv_apply_settings(${name})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# qiv_executable(name SOURCES ... [DEPS ...] [GUI] [CONSOLE])
# GUI programs enter through wWinMain; console programs through wmain.
function(qiv_executable name)
  cmake_parse_arguments(A "GUI;CONSOLE" "" "SOURCES;DEPS" ${ARGN})
  if(A_GUI)
    add_executable(${name} WIN32 ${A_SOURCES})
  else()
    add_executable(${name} ${A_SOURCES})
  endif()
  qiv_apply_settings(${name})
  target_link_options(${name} PRIVATE -municode)
  if(A_DEPS)
    target_link_libraries(${name} PRIVATE ${A_DEPS})
  endif()
endfunction()

# qiv_test(name SOURCES ... [DEPS ...] [TIMEOUT s] [RESOURCE_LOCK lock] [LABELS ...]
#          [COMMAND_PREFIX ...])
# A GoogleTest program, built for both flavours, registered with CTest for
# the 64-bit flavour and run under wine through the cross-compiling emulator.
# COMMAND_PREFIX runs a Unix-side wrapper first (for example one that starts
# a loopback server); it receives the emulator and the test program as its
# arguments.
function(qiv_test name)
  cmake_parse_arguments(A "" "TIMEOUT;RESOURCE_LOCK" "SOURCES;DEPS;LABELS;COMMAND_PREFIX" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  qiv_apply_settings(${name})
  target_link_libraries(${name} PRIVATE ${A_DEPS} qiv_gtest_main)
  if(NOT QIV_REGISTER_TESTS)
    return()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  if(A_COMMAND_PREFIX)
    add_test(NAME ${name}
      COMMAND ${A_COMMAND_PREFIX} ${QIV_WINE_RUN} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  if(A_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${A_RESOURCE_LOCK})
  endif()
  if(A_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${A_LABELS}")
  endif()
endfunction()
