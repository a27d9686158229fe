target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AxisHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegionHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalFileHandlersTest.cpp
)
