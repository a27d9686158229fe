# A scratch folder of the test's own (all tests).
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ScratchFolder.h
)
