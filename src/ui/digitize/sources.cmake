target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManualHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableHandlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceHandlers.cpp
)
