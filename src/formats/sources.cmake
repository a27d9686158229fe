target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Bitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LZ77Decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PNGGraphic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterGraphic.cpp
)
