loupix_add_test(tests_image_dib
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/dib_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dib_image_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dib_layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dib_palette_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dib_reader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dib_test.cpp
  LIBS loupix_image
)
