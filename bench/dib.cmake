# Loading a BMP into a TDIB against reading the file plus one memcpy.
add_executable(loupix_bench_dib ${CMAKE_CURRENT_LIST_DIR}/dib_load_bench.cpp)
target_link_libraries(loupix_bench_dib PRIVATE loupix_options loupix_image benchmark::benchmark)
