# One viewer frame through the display control (clear, full-screen picture copy,
# present) against three memcpy of the same bytes.
add_executable(loupix_bench_display ${CMAKE_CURRENT_LIST_DIR}/display_frame_bench.cpp)
target_link_libraries(loupix_bench_display PRIVATE loupix_options loupix_display loupix_surface
  loupix_ui benchmark::benchmark)
add_dependencies(loupix_bench_display loupix_ddraw)
