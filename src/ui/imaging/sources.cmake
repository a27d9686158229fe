target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FastBMPDraw.h
  ${CMAKE_CURRENT_LIST_DIR}/FastBMPDraw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureHandlers.cpp
)
