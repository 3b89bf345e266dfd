# The folder scan over 20,000 files in 200 nested folders against find with the
# same name filter on the same tree.
add_executable(loupix_bench_scan ${CMAKE_CURRENT_LIST_DIR}/scan_bench.cpp)
target_link_libraries(loupix_bench_scan PRIVATE loupix_options loupix_app)
