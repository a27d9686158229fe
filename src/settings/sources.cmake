target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.h
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProfileSettingsStore.h
  ${CMAKE_CURRENT_LIST_DIR}/ProfileSettingsStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Settings.h
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.h
  ${CMAKE_CURRENT_LIST_DIR}/Language.h
  ${CMAKE_CURRENT_LIST_DIR}/Language.cpp
)
