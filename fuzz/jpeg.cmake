# JPEG route: bytes through reading and decoding into a bitmap.
add_executable(fuzz_jpeg ${CMAKE_CURRENT_LIST_DIR}/jpeg_fuzz.cpp)
target_link_libraries(fuzz_jpeg PRIVATE loupix_options loupix_image)
target_link_options(fuzz_jpeg PRIVATE -fsanitize=fuzzer)
