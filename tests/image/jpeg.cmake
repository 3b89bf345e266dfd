# JPEG pictures over libjpeg.
loupix_add_test(tests_image_jpeg
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_samples.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_codec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_route.cpp
  LIBS loupix_image
)
