target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DataPoints.h
  ${CMAKE_CURRENT_LIST_DIR}/DataPoints.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportText.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Magnifier.h
  ${CMAKE_CURRENT_LIST_DIR}/Magnifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManualEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/ManualEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NearestPoint.h
  ${CMAKE_CURRENT_LIST_DIR}/NearestPoint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/TableEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Trace.h
  ${CMAKE_CURRENT_LIST_DIR}/Trace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TracePrecise.h
  ${CMAKE_CURRENT_LIST_DIR}/TracePrecise.cpp
)
