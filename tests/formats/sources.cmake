target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BitmapTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorManagerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DecompressorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GIFGraphicTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PCXGraphicTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TIFFGraphicTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PNGGraphicTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileFormatListTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureLoaderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegPictureTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PpmWriterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BmpHeaderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LZ77DecoderTest.cpp
)

# The fuzz entries, replayed over the saved crashers in every test run.
add_executable(png_fuzz_replay ${PROJECT_SOURCE_DIR}/fuzz/png_fuzz.cpp ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
target_link_libraries(png_fuzz_replay PRIVATE quillmark_core quillmark_warnings)
add_test(NAME PngFuzzReplay COMMAND png_fuzz_replay ${CMAKE_CURRENT_LIST_DIR}/../data/crashers)
