target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ColorBox.h
  ${CMAKE_CURRENT_LIST_DIR}/ColorBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PicturePreviewDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/PicturePreviewDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenPlacement.h
  ${CMAKE_CURRENT_LIST_DIR}/ScreenPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpinEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/SpinEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplitSpinButton.h
  ${CMAKE_CURRENT_LIST_DIR}/SplitSpinButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ToolButtons.h
  ${CMAKE_CURRENT_LIST_DIR}/ToolButtons.cpp
)
