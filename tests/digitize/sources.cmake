# Tests of src/digitize, added to quillmark_core_tests or quillmark_ui_tests.
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DataPointsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MagnifierTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManualEditTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NearestPointTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableEditTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceTest.cpp
)
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ManualHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceHandlersTest.cpp
)

# The magnifier on a screen scaled by 2.
add_test(NAME Digitize.MagnifierAtScaleFactor2
         COMMAND quillmark_ui_tests --gtest_filter=MagnifierWindow.*)
set_tests_properties(Digitize.MagnifierAtScaleFactor2 PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
