target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsTest.cpp
)
