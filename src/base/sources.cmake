target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ByteReader.h
  ${CMAKE_CURRENT_LIST_DIR}/CheckedMath.h
  ${CMAKE_CURRENT_LIST_DIR}/Cores.h
  ${CMAKE_CURRENT_LIST_DIR}/Cores.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorText.h
  ${CMAKE_CURRENT_LIST_DIR}/ErrorText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Errors.h
  ${CMAKE_CURRENT_LIST_DIR}/Errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileWrite.h
  ${CMAKE_CURRENT_LIST_DIR}/FileWrite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NumberMask.h
  ${CMAKE_CURRENT_LIST_DIR}/NumberMask.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NumberText.h
  ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Rounding.h
)
