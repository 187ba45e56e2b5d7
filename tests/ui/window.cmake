# The main window and its drawing surfaces, offscreen.
add_executable(test_picture_box ${CMAKE_CURRENT_LIST_DIR}/test_picture_box.cpp)
set_target_properties(test_picture_box PROPERTIES AUTOMOC ON)
target_link_libraries(test_picture_box PRIVATE morvane1_ui Qt6::Test)
target_compile_definitions(test_picture_box PRIVATE
  MORVANE1_SHEMA_GIF="${CMAKE_SOURCE_DIR}/assets/shema.gif")
add_test(NAME test_picture_box COMMAND test_picture_box)
# A scheme file that blocks the loader (a FIFO) fails the test in good time.
set_tests_properties(test_picture_box PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

add_executable(test_form1 ${CMAKE_CURRENT_LIST_DIR}/test_form1.cpp)
set_target_properties(test_form1 PROPERTIES AUTOMOC ON)
target_link_libraries(test_form1 PRIVATE morvane1_ui Qt6::Test)
add_test(NAME test_form1 COMMAND test_form1)
set_tests_properties(test_form1 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# Whole runs in the real window, the help window during a run, and the
# layout at device pixel ratio 1 and 2.
add_executable(test_window_drawing ${CMAKE_CURRENT_LIST_DIR}/test_window_drawing.cpp)
set_target_properties(test_window_drawing PROPERTIES AUTOMOC ON)
target_link_libraries(test_window_drawing PRIVATE morvane1_ui Qt6::Test)
add_test(NAME test_window_drawing COMMAND test_window_drawing)
set_tests_properties(test_window_drawing PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
add_test(NAME test_window_drawing_scale2 COMMAND test_window_drawing layoutScalesWithTheDevicePixelRatio)
set_tests_properties(test_window_drawing_scale2 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
