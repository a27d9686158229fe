target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/HistoryHandlers.cpp
)
