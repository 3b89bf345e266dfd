# Building a picture item's surface (1920 x 1080, 24 to 16 bits) against a plain
# per-pixel conversion loop, and stretching that item into a grid cell.
add_executable(loupix_bench_surface ${CMAKE_CURRENT_LIST_DIR}/surface_collection_bench.cpp)
target_link_libraries(loupix_bench_surface PRIVATE loupix_options loupix_pictures loupix_surface loupix_display loupix_ui
  benchmark::benchmark)
add_dependencies(loupix_bench_surface loupix_ddraw)
