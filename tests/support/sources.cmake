# What the UI tests share: the scripted modal boxes and a test window's surroundings.
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RecordingDialogs.h
)
