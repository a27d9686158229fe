target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Bitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureClass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureFormatList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileFormatList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UnassignablePicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartupFormats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PpmWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BmpHeader.cpp
)
target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolkitPictures.cpp
)
