target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PlotAxis.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotAxis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotChart.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotChart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotSeries.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotSeries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewHandlers.cpp
)
