# The English translation is complete: lupdate, run over the sources into a
# copy of the .ts file, finds no text without a translation (unfinished) and
# no translation whose text has gone (vanished or obsolete).
find_program(LUPDATE NAMES lupdate lupdate-qt6 HINTS /usr/lib/qt6/bin REQUIRED)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${SOURCE}/translations/quillmark_en.ts DESTINATION ${WORK})
execute_process(COMMAND ${LUPDATE} -locations none -I ${SOURCE}/src ${SOURCE}/src/ui -ts ${WORK}/quillmark_en.ts
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${out}")
endif()
file(READ ${WORK}/quillmark_en.ts ts)
foreach(state unfinished vanished obsolete)
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*<translation type=\"${state}\"" found "${ts}")
  if(found)
    message(FATAL_ERROR "${state} entries in translations/quillmark_en.ts (run lupdate, then tools/translations_en.py):\n${found}")
  endif()
endforeach()
