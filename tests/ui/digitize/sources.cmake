target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/EditingWindow.h
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
