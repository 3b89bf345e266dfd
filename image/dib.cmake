# Device-independent bitmaps: layouts, run-length decoding, DIB reading, palettes.
target_sources(loupix_image PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DIBGlobalMemoryStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBPaletteManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBPixelLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RleDecoder.cpp
)
