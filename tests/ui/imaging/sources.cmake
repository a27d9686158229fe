target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FastBMPDrawTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureUiTest.cpp
)
