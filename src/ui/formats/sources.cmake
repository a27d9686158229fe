target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolkitPictures.h
  ${CMAKE_CURRENT_LIST_DIR}/ToolkitPictures.cpp
)
