# Runs the real program's decode command as a process and checks its exit
# codes, its standard streams and the bytes it writes.
#   cmake -DQUILLMARK=<program> -DDATA=<tests/data> -DWORK=<scratch folder> -P DecodeProcess.cmake
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(expect_run expected_rc)
  execute_process(COMMAND "${QUILLMARK}" decode ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "decode ${ARGN}: exit ${rc}, expected ${expected_rc}; stderr: ${err}")
  endif()
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "decode ${ARGN}: wrote to standard output: ${out}")
  endif()
  set(last_err "${err}" PARENT_SCOPE)
endfunction()

expect_run(0 "${DATA}/bmp/small-3x2.bmp" "${WORK}/out.ppm")
if(NOT last_err STREQUAL "")
  message(FATAL_ERROR "decode succeeded but wrote to standard error: ${last_err}")
endif()
file(READ "${WORK}/out.ppm" got HEX)
file(READ "${DATA}/ppm/small-3x2.ppm" want HEX)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "decoded bytes differ:\n got  ${got}\n want ${want}")
endif()

expect_run(1 "${WORK}/missing.bmp" "${WORK}/missing.ppm")
if(NOT last_err STREQUAL "Cannot open file ${WORK}/missing.bmp.\n")
  message(FATAL_ERROR "unexpected message: ${last_err}")
endif()
if(EXISTS "${WORK}/missing.ppm")
  message(FATAL_ERROR "a failed decode left an output file")
endif()

expect_run(2 "${DATA}/bmp/small-3x2.bmp")
expect_run(2 "${DATA}/bmp/small-3x2.bmp" "${WORK}/x.ppm" --saturation 600)
if(NOT last_err MATCHES "usage: quillmark decode")
  message(FATAL_ERROR "no usage text: ${last_err}")
endif()
file(REMOVE_RECURSE "${WORK}")
