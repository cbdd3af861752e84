# tq_add_module_main(target): a Windows module's load entry, which records its handle.
function(tq_add_module_main target)
  if(WIN32)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/win32/ModuleMain.cpp)
  endif()
endfunction()

# The VST2 module: the effect built over the VST2 binding with the module's entry.
#   TarvexQuoxel.dll   Windows x86 (the deliverable) and x64
#   TarvexQuoxel.so    Linux x86-64, no editor, for checks with Linux hosts
if(NOT TARGET tq_vst2_binding)
  return()
endif()

tq_add_effect(tq_effect_vst2 BINDING VST2 LIBS tq_vst2_binding)

# The plug-in with its entry as a static library, for tests that drive it in-process.
add_library(tq_vst2_plugin STATIC ${CMAKE_CURRENT_LIST_DIR}/TarvexQuoxelVst2Entry.cpp)
target_link_libraries(tq_vst2_plugin PUBLIC tq_effect_vst2 tq_build_flags)

set(TQ_VST2_DIR ${CMAKE_CURRENT_BINARY_DIR}/vst2 CACHE INTERNAL "")
add_library(tq_vst2_module MODULE ${CMAKE_CURRENT_LIST_DIR}/TarvexQuoxelVst2Entry.cpp)
target_link_libraries(tq_vst2_module PRIVATE tq_effect_vst2)
tq_embed_images(tq_vst2_module)
tq_add_module_main(tq_vst2_module)
set_target_properties(tq_vst2_module PROPERTIES
  OUTPUT_NAME TarvexQuoxel PREFIX ""
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
  LIBRARY_OUTPUT_DIRECTORY ${TQ_VST2_DIR}
  RUNTIME_OUTPUT_DIRECTORY ${TQ_VST2_DIR})
if(WIN32)
  target_sources(tq_vst2_module PRIVATE ${CMAKE_CURRENT_LIST_DIR}/vst2-exports.def)
  set_target_properties(tq_vst2_module PROPERTIES SUFFIX .dll)
else()
  target_sources(tq_vst2_module PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Vst2MainAlias.cpp)
  set(TQ_VST2_EXPORTS ${CMAKE_CURRENT_LIST_DIR}/vst2-linux-exports.map)
  target_link_options(tq_vst2_module PRIVATE -Wl,--exclude-libs,ALL -Wl,--version-script=${TQ_VST2_EXPORTS})
  set_target_properties(tq_vst2_module PROPERTIES SUFFIX .so LINK_DEPENDS ${TQ_VST2_EXPORTS})
endif()
