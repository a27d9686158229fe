target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainFormTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchCommandsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchTraceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LanguageTest.cpp
)

# Every text of the window has its English, and no English is left over.
add_test(NAME Language.TranslationIsCompleteAndCurrent
         COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DWORK=${CMAKE_CURRENT_BINARY_DIR}/translation-check
                 -P ${CMAKE_CURRENT_LIST_DIR}/TranslationCheck.cmake)

# The decode command run as the real program.
add_test(NAME BatchCommands.DecodeAsAProcess
         COMMAND ${CMAKE_COMMAND} -DQUILLMARK=$<TARGET_FILE:quillmark> -DDATA=${CMAKE_CURRENT_LIST_DIR}/../../data
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/decode-process -P ${CMAKE_CURRENT_LIST_DIR}/DecodeProcess.cmake)
set_tests_properties(BatchCommands.DecodeAsAProcess PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# What the decode command writes for the corpus is the reference, byte for byte.
add_test(NAME BatchCommands.DecodeMatchesTheCorpus
         COMMAND ${CMAKE_COMMAND} -DQUILLMARK=$<TARGET_FILE:quillmark> -DCORPUS=${PROJECT_SOURCE_DIR}/../shared/corpus
                 -DFORMATS=png,gif,pcx,tiff -DWORK=${CMAKE_CURRENT_BINARY_DIR}/decode-corpus
                 -P ${CMAKE_CURRENT_LIST_DIR}/DecodeCorpus.cmake)
set_tests_properties(BatchCommands.DecodeMatchesTheCorpus PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen" SKIP_REGULAR_EXPRESSION "SKIPPED: ")

# The trace command through the real program: its help, and a usage error.
add_test(NAME BatchCommands.TraceHelpAsAProcess COMMAND $<TARGET_FILE:quillmark> trace --help)
set_tests_properties(BatchCommands.TraceHelpAsAProcess PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen" PASS_REGULAR_EXPRESSION "usage: quillmark trace")
add_test(NAME BatchCommands.TraceBadArgumentsAsAProcess COMMAND $<TARGET_FILE:quillmark> trace)
set_tests_properties(BatchCommands.TraceBadArgumentsAsAProcess PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen" WILL_FAIL TRUE)

# The install tree of a temporary prefix.
add_test(NAME Install.TreeHoldsEveryFileAndValidates
         COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/install-tree
                 -P ${CMAKE_CURRENT_LIST_DIR}/InstallTree.cmake)
