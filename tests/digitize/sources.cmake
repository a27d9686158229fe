target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TestPicture.h
  ${CMAKE_CURRENT_LIST_DIR}/DataPointsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MagnifierTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManualEditTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NearestPointTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableEditTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TracePreciseTest.cpp
)
