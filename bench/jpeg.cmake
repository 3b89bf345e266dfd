# The viewer's JPEG route against djpeg.
add_executable(bench_jpeg_route ${CMAKE_CURRENT_LIST_DIR}/jpeg_route.cpp)
target_link_libraries(bench_jpeg_route PRIVATE loupix_options loupix_image loupix_framework)
