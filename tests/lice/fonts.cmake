# Cached fonts: layout, caching and masks against a deterministic fake rasteriser, the glyph
# loops by formula, and the platform rasteriser with real fonts (FreeType natively; GDI in a
# Windows program run under Wine).
set(TQ_FONT_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CachedFontTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GlyphBlendTest.cpp
)
if(NOT WIN32)
  list(APPEND TQ_FONT_TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/FreeTypeRasteriserTest.cpp)
endif()
tq_add_test(NAME lice_fonts_test LABELS lice SOURCES ${TQ_FONT_TEST_SOURCES} LIBS tq_lice)

if(WIN32)
  tq_add_test(NAME lice_gdi_glyph_test LABELS lice
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32/GdiGlyphTest.cpp
    LIBS tq_lice)
endif()
