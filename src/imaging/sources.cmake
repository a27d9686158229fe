target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AdjustmentPipeline.h
  ${CMAKE_CURRENT_LIST_DIR}/AdjustmentPipeline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastBMP.h
  ${CMAKE_CURRENT_LIST_DIR}/FastBMP.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastFX.h
  ${CMAKE_CURRENT_LIST_DIR}/FastFX.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastFXAvx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastFXKernels.h
  ${CMAKE_CURRENT_LIST_DIR}/FastRGB.h
  ${CMAKE_CURRENT_LIST_DIR}/OpenedPicture.h
  ${CMAKE_CURRENT_LIST_DIR}/OpenedPicture.cpp
)
