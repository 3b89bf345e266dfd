# Converting a 1920 x 1080 24-bit section into 16-bit surface pixels through
# StretchBlt against a plain per-pixel loop written in the benchmark.
add_executable(loupix_bench_gdi ${CMAKE_CURRENT_LIST_DIR}/gdi_stretch_bench.cpp)
target_link_libraries(loupix_bench_gdi PRIVATE loupix_options loupix_gdi benchmark::benchmark)
