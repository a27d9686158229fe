# Files of src/imaging, added to quillmark_core or quillmark_ui.
target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FastRGB.h
  ${CMAKE_CURRENT_LIST_DIR}/FastBMP.h
  ${CMAKE_CURRENT_LIST_DIR}/FastBMP.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastFX.h
  ${CMAKE_CURRENT_LIST_DIR}/FastFX.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastFXKernels.h
  ${CMAKE_CURRENT_LIST_DIR}/FastFXAvx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AdjustmentPipeline.h
  ${CMAKE_CURRENT_LIST_DIR}/AdjustmentPipeline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenedPicture.h
  ${CMAKE_CURRENT_LIST_DIR}/OpenedPicture.cpp
)
target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FastBMPDraw.h
  ${CMAKE_CURRENT_LIST_DIR}/FastBMPDraw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureHandlers.cpp
)
