target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AxisHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalFileHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalibrationHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegionHandlers.cpp
)
