# Framework picture readers: BMP through TBitmap, .ico through TIcon, .wmf/.emf through TMetafile.
foreach(reader bitmap icon metafile)
  add_executable(fuzz_${reader} ${CMAKE_CURRENT_LIST_DIR}/${reader}_fuzz.cpp)
  target_link_libraries(fuzz_${reader} PRIVATE loupix_options loupix_framework)
  target_link_options(fuzz_${reader} PRIVATE -fsanitize=fuzzer)
endforeach()
