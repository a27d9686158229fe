# Files of src/digitize, added to quillmark_core or quillmark_ui.
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DataPoints.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Magnifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManualEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NearestPoint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Trace.cpp
)
target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManualHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceHandlers.cpp
)
