target_sources(quillmark_ui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PlotChartTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewHandlersTest.cpp
)

# The same hit test and drawing on a screen scaled by 2.
add_test(NAME Plot.HitTestsAtScaleFactor2
         COMMAND quillmark_ui_tests
                 --gtest_filter=Plot.HitTestsAreInThePlotsOwnPixelsAtAnyScale:Plot.ScaledScreensGetAFinerDrawingOfTheSamePlot)
set_tests_properties(Plot.HitTestsAtScaleFactor2 PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
