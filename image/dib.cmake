# Device-independent bitmaps: the DIB graphic, its shared images and palettes,
# BMP data reading and writing.
target_sources(loupix_image PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DIB.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBGlobalMemoryStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBPaletteManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBPixelLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DIBSharedImage.cpp
)
