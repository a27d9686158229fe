target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AxisMappingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AxisScaleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageFitTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RangeStepTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotViewTest.cpp
)
