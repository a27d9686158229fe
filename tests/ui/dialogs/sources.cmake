target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ScriptedWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/OptionsHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpWindowsTest.cpp
)
