# The window and the batch command driven on the same picture.
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WindowBatchAgreementTest.cpp
)
