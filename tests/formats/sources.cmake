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
)
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolkitPicturesTest.cpp
)
