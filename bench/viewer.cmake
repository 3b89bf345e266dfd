# The viewer's frames on the real main window: a lens frame against three memcpy,
# Page Down and a grid page of 1920 x 1080 JPEGs against djpeg.
add_executable(loupix_bench_viewer ${CMAKE_CURRENT_LIST_DIR}/viewer_bench.cpp)
target_link_libraries(loupix_bench_viewer PRIVATE loupix_options loupix_app benchmark::benchmark)
add_dependencies(loupix_bench_viewer loupix_ddraw)
