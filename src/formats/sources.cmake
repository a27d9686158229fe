target_sources(quillmark_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Bitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LZ77Decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PNGGraphic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterGraphic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureClass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureFormatList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileFormatList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UnassignablePicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartupFormats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PpmWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BmpHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackbitsRLEDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PCXRLEDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TIFFLZWDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GIFLZWDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CCITTDecoders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ThunderDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GIFGraphic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PCXGraphic.cpp
)
target_sources(quillmark_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ToolkitPictures.cpp
)
