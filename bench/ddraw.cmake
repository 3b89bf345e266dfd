# The display services' pixel work at the viewer's 1024 x 768 x 16 against
# memset / memcpy of the same bytes, and the lens stretch.
add_executable(loupix_bench_ddraw ${CMAKE_CURRENT_LIST_DIR}/ddraw_blit_bench.cpp)
target_link_libraries(loupix_bench_ddraw PRIVATE loupix_options loupix_gdi loupix_ui benchmark::benchmark ${CMAKE_DL_LIBS})
add_dependencies(loupix_bench_ddraw loupix_ddraw)
