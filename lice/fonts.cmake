# Cached fonts and their glyph rasterisers: FreeType with fontconfig natively.
if(NOT WIN32)
  target_sources(tq_lice PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LICE_CachedFont.cpp
    ${CMAKE_CURRENT_LIST_DIR}/glyphs/LICE_GlyphBlend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/glyphs/LICE_GlyphRasteriser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/glyphs/LICE_FreeTypeRasteriser.cpp
  )
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TQ_FREETYPE REQUIRED IMPORTED_TARGET freetype2 fontconfig)
  target_link_libraries(tq_lice PUBLIC PkgConfig::TQ_FREETYPE)
endif()
