target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ErrorsTest.cpp
)
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NumberTextTest.cpp
)
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NumberMaskTest.cpp
)
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FileWriteTest.cpp
)
target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ErrorTextTest.cpp
)
