# Objects built for Microsoft's C++ ABI, linked into MinGW-w64 programs of the Windows
# builds. Hosts on Windows are built with Microsoft's compiler, whose table layouts and
# calling conventions differ from g++'s in places; clang lays out and calls exactly as that
# compiler does, so code built here plays a host's side against our modules.
#
# tq_add_msabi_library(<target> <sources>...)
#   Compiles each source with clang for <processor>-pc-windows-msvc, without exceptions,
#   run-time type information or any system header, and makes <target>, a static library
#   that a MinGW-w64 executable links with target_link_libraries(<exe> PRIVATE <target>).
#   Sources include headers from the top of the tree. The little runtime such objects call
#   (_purecall, _fltused) comes along; memset and memcpy come from the MinGW C runtime.
#   The objects talk to the rest of the program through extern "C" functions only.

set(TQ_MSABI_CLANG clang++-14 CACHE STRING "clang driver that compiles for Microsoft's ABI")
set(TQ_MSABI_FLAGS -fno-rtti -fno-exceptions -fno-threadsafe-statics -std=c++17 -O2 -nostdinc
                   -Wall -Wextra -Werror)

function(_tq_msabi_target_triple out)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
    set(${out} i686-pc-windows-msvc PARENT_SCOPE)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(${out} x86_64-pc-windows-msvc PARENT_SCOPE)
  else()
    message(FATAL_ERROR "Microsoft-ABI objects: no target for processor ${CMAKE_SYSTEM_PROCESSOR}")
  endif()
endfunction()

# Compiles the sources of <target> into objects; their paths go to <out>.
function(_tq_msabi_compile target out)
  _tq_msabi_target_triple(triple)
  set(objects)
  foreach(source IN LISTS ARGN)
    get_filename_component(source ${source} ABSOLUTE)
    get_filename_component(name ${source} NAME_WE)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}.msabi/${name}.obj)
    add_custom_command(OUTPUT ${object}
      COMMAND ${TQ_MSABI_CLANG} --target=${triple} -c ${TQ_MSABI_FLAGS} -I${CMAKE_SOURCE_DIR}
              -MD -MF ${object}.d -o ${object} ${source}
      DEPENDS ${source}
      DEPFILE ${object}.d
      COMMENT "Building ${name} for Microsoft's ABI (${triple})"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  set_source_files_properties(${objects} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  set(${out} ${objects} PARENT_SCOPE)
endfunction()

function(tq_add_msabi_library target)
  if(NOT TQ_PLATFORM_WINDOWS OR NOT CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "tq_add_msabi_library(${target}): only in the win32 and win64 builds")
  endif()
  if(NOT TARGET tq_msabi_runtime)
    _tq_msabi_compile(tq_msabi_runtime runtime_objects ${CMAKE_SOURCE_DIR}/hosts/msabi/MsAbiRuntime.cpp)
    add_library(tq_msabi_runtime STATIC ${runtime_objects})
    set_target_properties(tq_msabi_runtime PROPERTIES LINKER_LANGUAGE CXX)
  endif()
  _tq_msabi_compile(${target} objects ${ARGN})
  add_library(${target} STATIC ${objects})
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE CXX)
  target_link_libraries(${target} INTERFACE tq_msabi_runtime)
endfunction()
