# Shared build settings and helpers for every target of the tree.

option(TQ_BUILD_TESTS "Build the unit and integration tests" ON)
option(TQ_BUILD_BENCHMARKS "Build the Google Benchmark programs (native only)" OFF)
option(TQ_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TQ_TSAN "Build with ThreadSanitizer (for the tests of the host's threads)" OFF)
option(TQ_BUILD_FUZZERS "Build the libFuzzer harnesses of tests/fuzz (clang only, native only)" OFF)

if(WIN32)
  set(TQ_PLATFORM_WINDOWS ON)
else()
  set(TQ_PLATFORM_WINDOWS OFF)
endif()

# Warnings and sanitizers travel with this interface target, so third-party code built
# from Debian's source packages (GoogleTest under MinGW) keeps its own flags.
add_library(tq_build_flags INTERFACE)
# Includes name their folder from the top of the tree: #include "framework/core/IPlugBase.h".
target_include_directories(tq_build_flags INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_options(tq_build_flags INTERFACE -Wall -Wextra -Werror)
if(TQ_SANITIZE)
  target_compile_options(tq_build_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tq_build_flags INTERFACE -fsanitize=address,undefined)
endif()
if(TQ_TSAN)
  target_compile_options(tq_build_flags INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tq_build_flags INTERFACE -fsanitize=thread)
endif()
# Fuzzing instruments every library of ours for coverage; only the harnesses link the
# fuzzer's driver.
if(TQ_BUILD_FUZZERS AND CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND NOT CMAKE_CROSSCOMPILING)
  set(TQ_FUZZING ON)
  target_compile_options(tq_build_flags INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
    # Fields that only the Windows build uses are not faults.
    -Wno-unused-private-field)
  target_link_options(tq_build_flags INTERFACE -fsanitize=address,undefined)
else()
  set(TQ_FUZZING OFF)
endif()
if(TQ_PLATFORM_WINDOWS)
  # Modules and test programs carry their C++ runtime with them: a host (or Wine) finds
  # no MinGW DLLs beside them.
  target_link_options(tq_build_flags INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(tq_build_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601)
endif()

# The x86 build computes in SSE2 like the x64 one (every processor a 32-bit host runs on has
# it), so both give the same results; the x87 unit would keep 80-bit intermediates. Hosts may
# call in with the stack aligned to 4 bytes only: functions that need more realign it.
if(TQ_PLATFORM_WINDOWS AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  add_compile_options(-msse2 -mfpmath=sse -mstackrealign)
endif()

# GoogleTest: Debian's package natively; built from Debian's source package for MinGW.
function(tq_find_gtest)
  if(TARGET GTest::gtest_main)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/third_party/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endfunction()

# tq_add_test(NAME name LABELS label... SOURCES src... LIBS lib...)
# One GoogleTest executable, registered with ctest under the given labels. In Windows
# builds ctest runs it through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR).
function(tq_add_test)
  cmake_parse_arguments(T "" "NAME" "LABELS;SOURCES;LIBS" ${ARGN})
  tq_find_gtest()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock tq_build_flags)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 900)
endfunction()

# ctest runs Windows test programs through Wine, all in one private prefix of this build.
if(CMAKE_CROSSCOMPILING AND TQ_PLATFORM_WINDOWS)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/tools/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wineprefix)
endif()
