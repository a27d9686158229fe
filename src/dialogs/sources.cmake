# Files of src/dialogs, added to quillmark_core or quillmark_ui.
target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/OptUnit.h
  ${CMAKE_CURRENT_LIST_DIR}/OptUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetAxis.h
  ${CMAKE_CURRENT_LIST_DIR}/SetAxis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OptionsHandlers.cpp
)
