# The scripted modal boxes of a test window.
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RecordingDialogs.h
)
