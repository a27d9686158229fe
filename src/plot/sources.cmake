target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PlotChart.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotChart.cpp
)
