target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AxisScaleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageFitTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalFileTest.cpp
)
target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.h
  ${CMAKE_CURRENT_LIST_DIR}/AxisHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegionHandlersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalFileHandlersTest.cpp
)
