target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SpinEditTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenPlacementTest.cpp
)
