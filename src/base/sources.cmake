target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Errors.cpp
)
