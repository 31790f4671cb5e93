# Warnings and sanitizers, applied to every target of this project through one interface target.
add_library(kr820_compiler_settings INTERFACE)
target_compile_options(kr820_compiler_settings INTERFACE -Wall -Wextra -Wpedantic)
# Hardening as Debian builds its packages: position-independent programs, a protected stack,
# checked buffer functions where the optimiser can see the sizes, read-only relocations.
if(NOT KR820_SANITIZE AND NOT KR820_FUZZ)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  target_compile_options(kr820_compiler_settings INTERFACE -fstack-protector-strong
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  target_link_options(kr820_compiler_settings INTERFACE -Wl,-z,relro,-z,now)
endif()
if(KR820_SANITIZE)
  target_compile_options(kr820_compiler_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(kr820_compiler_settings INTERFACE -fsanitize=address,undefined)
endif()
if(KR820_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KR820_FUZZ needs clang (libFuzzer): configure with the fuzz preset")
  endif()
  # Coverage for the fuzzer and both sanitizers in every object; the fuzz targets add libFuzzer's
  # main when they link.
  target_compile_options(kr820_compiler_settings INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(kr820_compiler_settings INTERFACE -fsanitize=address,undefined)
endif()

# Helper: a GoogleTest executable registered with CTest, with a time limit and a label.
#   kr820_add_test(NAME unit_core LABEL unit TIMEOUT 60 SOURCES a.cpp b.cpp LIBS kr820_core)
# EACH registers every test case as a CTest test of its own, named NAME.Suite.Case (the list is
# read from the program after each build), so that ctest runs side by side the tests that
# mostly wait: on a meter's pace, a child process, a server. TIMEOUT is then per test case.
function(kr820_add_test)
  cmake_parse_arguments(T "EACH" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock kr820_compiler_settings)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${T_NAME} PRIVATE KR820_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
  if(T_EACH)
    include(GoogleTest)
    # Parameterised cases keep their index: values may repeat or be long.
    gtest_discover_tests(${T_NAME} TEST_PREFIX ${T_NAME}. NO_PRETTY_VALUES DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS ${T_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS ${T_LABEL}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
