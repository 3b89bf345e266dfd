# JPEG pictures over libjpeg.
target_sources(loupix_image PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/JpegGuard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegPalette.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegRoute.cpp
)
