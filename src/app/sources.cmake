target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit.h
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/BatchCommands.cpp
)
