target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/About.h
  ${CMAKE_CURRENT_LIST_DIR}/About.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpUnit.h
  ${CMAKE_CURRENT_LIST_DIR}/HelpUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Hint.h
  ${CMAKE_CURRENT_LIST_DIR}/Hint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OptUnit.h
  ${CMAKE_CURRENT_LIST_DIR}/OptUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OptionsHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetAxis.h
  ${CMAKE_CURRENT_LIST_DIR}/SetAxis.cpp
)
