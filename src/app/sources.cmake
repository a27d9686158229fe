target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit.h
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit.cpp
)
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.h
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Settings.h
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
)
