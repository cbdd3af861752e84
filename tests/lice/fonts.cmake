# Cached fonts: layout, caching and masks against a deterministic fake rasteriser, the glyph
# loops by formula, and the platform rasteriser's properties with real fonts.
if(NOT WIN32)
  tq_add_test(NAME lice_fonts_test LABELS lice
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/FakeGlyphRasteriser.cpp
      ${CMAKE_CURRENT_LIST_DIR}/CachedFontTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/GlyphBlendTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/FreeTypeRasteriserTest.cpp
    LIBS tq_lice)
endif()
