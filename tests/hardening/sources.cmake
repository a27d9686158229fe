target_sources(quillmark_core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DamageTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigFilesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceBlockOrderTest.cpp
)

# The fuzz entries (PNG's is replayed in tests/formats), each run over the
# saved crashers and its seeds: the corpus folder of its format where there
# is one, and the small test files of the repository.
set(corpus ${PROJECT_SOURCE_DIR}/../shared/corpus/public)
set(crashers ${CMAKE_CURRENT_LIST_DIR}/../data/crashers)
set(seeds_tiff ${corpus}/tiff)
set(seeds_gif ${corpus}/gif)
set(seeds_pcx ${corpus}/pcx)
set(seeds_bmp ${CMAKE_CURRENT_LIST_DIR}/../data/bmp)
set(seeds_jpeg ${CMAKE_CURRENT_LIST_DIR}/../../fuzz/seeds/jpeg)
set(seeds_cal ${CMAKE_CURRENT_LIST_DIR}/../../fuzz/seeds/cal)
set(seeds_settings ${CMAKE_CURRENT_LIST_DIR}/../../fuzz/seeds/settings)
set(seeds_number ${CMAKE_CURRENT_LIST_DIR}/../../fuzz/seeds/number)
foreach(name tiff gif pcx jpeg bmp cal settings number)
  add_executable(${name}_fuzz_replay ${PROJECT_SOURCE_DIR}/fuzz/${name}_fuzz.cpp ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
  target_include_directories(${name}_fuzz_replay PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
  target_link_libraries(${name}_fuzz_replay PRIVATE quillmark_core quillmark_warnings)
  set(inputs ${crashers})
  if(EXISTS ${seeds_${name}})
    list(APPEND inputs ${seeds_${name}})
  endif()
  add_test(NAME FuzzReplay.${name} COMMAND ${name}_fuzz_replay ${inputs})
endforeach()
