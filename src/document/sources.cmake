target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BatchCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/BatchCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DigitizeSession.h
  ${CMAKE_CURRENT_LIST_DIR}/DigitizeSession.cpp
)
