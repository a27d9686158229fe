# What the tests share: the scripted modal boxes and a test window's surroundings
# (UI tests), a scratch folder of the test's own (all tests).
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RecordingDialogs.h
)
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ScratchFolder.h
)
