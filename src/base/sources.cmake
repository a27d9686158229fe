target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Errors.cpp
)
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NumberText.h
  ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
)
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NumberMask.h
  ${CMAKE_CURRENT_LIST_DIR}/NumberMask.cpp
)
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FileWrite.h
  ${CMAKE_CURRENT_LIST_DIR}/FileWrite.cpp
)
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Cores.h
  ${CMAKE_CURRENT_LIST_DIR}/Cores.cpp
)
