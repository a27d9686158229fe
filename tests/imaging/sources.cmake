# Tests of src/imaging, added to quillmark_core_tests or quillmark_ui_tests.
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ImagingTestUtil.h
  ${CMAKE_CURRENT_LIST_DIR}/FastBMPTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastFXTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AdjustmentPipelineTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenedPictureTest.cpp
)
