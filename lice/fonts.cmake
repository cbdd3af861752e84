# Cached fonts and their glyph rasterisers: GDI in the Windows modules, FreeType with
# fontconfig natively.
target_sources(tq_lice PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LICE_CachedFont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LICE_CachedFontDraw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LICE_CachedFontGlyphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LICE_CachedFontLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LICE_Utf8Cursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyphs/LICE_GlyphBlend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyphs/LICE_GlyphRasteriser.cpp
)
if(WIN32)
  target_sources(tq_lice PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/LICE_GdiRasteriser.cpp)
  # Direct GDI text exists in the x64 modules only.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_sources(tq_lice PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/LICE_NativeText.cpp)
  endif()
  target_link_libraries(tq_lice PUBLIC gdi32 user32 advapi32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TQ_FREETYPE REQUIRED IMPORTED_TARGET freetype2 fontconfig)
  target_sources(tq_lice PRIVATE ${CMAKE_CURRENT_LIST_DIR}/glyphs/LICE_FreeTypeRasteriser.cpp)
  target_link_libraries(tq_lice PUBLIC PkgConfig::TQ_FREETYPE)
endif()
