target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AxisMapping.h
  ${CMAKE_CURRENT_LIST_DIR}/AxisMapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AxisScale.h
  ${CMAKE_CURRENT_LIST_DIR}/AxisScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalFile.h
  ${CMAKE_CURRENT_LIST_DIR}/CalFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Calibration.h
  ${CMAKE_CURRENT_LIST_DIR}/Calibration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageFit.h
  ${CMAKE_CURRENT_LIST_DIR}/ImageFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotGeometry.h
  ${CMAKE_CURRENT_LIST_DIR}/RangeStep.h
  ${CMAKE_CURRENT_LIST_DIR}/RangeStep.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegionMaths.h
  ${CMAKE_CURRENT_LIST_DIR}/RegionMaths.cpp
)
