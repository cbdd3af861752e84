# The AAX module: the effect built over the AAX binding with the module's entry points, laid
# out as AAX hosts look for it:
#   TarvexQuoxel.aaxplugin/Contents/Win32/TarvexQuoxel.aaxplugin          Windows x86 (the deliverable)
#   TarvexQuoxel.aaxplugin/Contents/x64/TarvexQuoxel.aaxplugin            Windows x64 (tests and checks)
#   TarvexQuoxel.aaxplugin/Contents/x86_64-linux/TarvexQuoxel.so          Linux, no editor (checks)
if(NOT TARGET tq_aax_binding)
  return()
endif()

tq_add_effect(tq_effect_aax BINDING AAX LIBS tq_aax_binding)

# The plug-in with its entry points as a static library, for tests that drive it in-process.
add_library(tq_aax_plugin STATIC ${CMAKE_CURRENT_LIST_DIR}/TarvexQuoxelAaxEntry.cpp)
target_link_libraries(tq_aax_plugin PUBLIC tq_effect_aax tq_aax_entry tq_build_flags)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TQ_AAX_ARCH x64)
  else()
    set(TQ_AAX_ARCH Win32)
  endif()
  set(TQ_AAX_SUFFIX .aaxplugin)
else()
  set(TQ_AAX_ARCH ${CMAKE_SYSTEM_PROCESSOR}-linux)
  set(TQ_AAX_SUFFIX .so)
endif()
set(TQ_AAX_BUNDLE ${CMAKE_CURRENT_BINARY_DIR}/TarvexQuoxel.aaxplugin CACHE INTERNAL "")
set(TQ_AAX_BUNDLE_BIN ${TQ_AAX_BUNDLE}/Contents/${TQ_AAX_ARCH} CACHE INTERNAL "")

add_library(tq_aax_module MODULE ${CMAKE_CURRENT_LIST_DIR}/TarvexQuoxelAaxEntry.cpp)
target_link_libraries(tq_aax_module PRIVATE tq_effect_aax tq_aax_entry)
tq_embed_images(tq_aax_module)
tq_add_module_main(tq_aax_module)
set_target_properties(tq_aax_module PROPERTIES
  OUTPUT_NAME TarvexQuoxel PREFIX "" SUFFIX ${TQ_AAX_SUFFIX}
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
  LIBRARY_OUTPUT_DIRECTORY ${TQ_AAX_BUNDLE_BIN}
  RUNTIME_OUTPUT_DIRECTORY ${TQ_AAX_BUNDLE_BIN})
if(WIN32)
  if(TQ_AAX_ARCH STREQUAL "Win32")
    target_sources(tq_aax_module PRIVATE ${CMAKE_CURRENT_LIST_DIR}/aax-exports-x86.def)
  else()
    target_sources(tq_aax_module PRIVATE ${CMAKE_CURRENT_LIST_DIR}/aax-exports-x64.def)
  endif()
else()
  set(TQ_AAX_EXPORTS ${CMAKE_CURRENT_LIST_DIR}/aax-linux-exports.map)
  target_link_options(tq_aax_module PRIVATE -Wl,--exclude-libs,ALL -Wl,--version-script=${TQ_AAX_EXPORTS})
  set_target_properties(tq_aax_module PROPERTIES LINK_DEPENDS ${TQ_AAX_EXPORTS})
endif()
