target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolkitPicturesTest.cpp
)
