# DIB files read through TDIB.
add_executable(fuzz_dib ${CMAKE_CURRENT_LIST_DIR}/dib_fuzz.cpp)
target_link_libraries(fuzz_dib PRIVATE loupix_options loupix_image)
target_link_options(fuzz_dib PRIVATE -fsanitize=fuzzer)
