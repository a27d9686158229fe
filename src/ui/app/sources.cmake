target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BatchEntry.h
  ${CMAKE_CURRENT_LIST_DIR}/BatchEntry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Icons.h
  ${CMAKE_CURRENT_LIST_DIR}/Icons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormEnvironment.h
  ${CMAKE_CURRENT_LIST_DIR}/MainFormEnvironment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit.h
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModalDialogs.h
  ${CMAKE_CURRENT_LIST_DIR}/ModalDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramIcon.h
  ${CMAKE_CURRENT_LIST_DIR}/ProgramIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuillmarkApplication.h
  ${CMAKE_CURRENT_LIST_DIR}/QuillmarkApplication.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
)
