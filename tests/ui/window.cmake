# The main window and its drawing surfaces, offscreen.
add_executable(test_picture_box ${CMAKE_CURRENT_LIST_DIR}/test_picture_box.cpp)
set_target_properties(test_picture_box PROPERTIES AUTOMOC ON)
target_link_libraries(test_picture_box PRIVATE morvane1_ui Qt6::Test)
target_include_directories(test_picture_box PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(test_picture_box PRIVATE
  MORVANE1_SHEMA_GIF="${CMAKE_SOURCE_DIR}/assets/shema.gif")
add_test(NAME test_picture_box COMMAND test_picture_box)
# A scheme file that blocks the loader (a FIFO) fails the test in good time.
set_tests_properties(test_picture_box PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

# The main window and the help window through their controls; the surfaces
# again at device pixel ratio 2.
add_executable(test_window ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp)
set_target_properties(test_window PROPERTIES AUTOMOC ON)
target_link_libraries(test_window PRIVATE morvane1_ui Qt6::Test)
target_compile_definitions(test_window PRIVATE MORVANE1_SHEMA_GIF="${CMAKE_SOURCE_DIR}/assets/shema.gif")
add_test(NAME test_window COMMAND test_window)
add_test(NAME test_window_scale2 COMMAND test_window surfacesAtDeviceResolution)
set_tests_properties(test_window PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
set_tests_properties(test_window_scale2 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")

# The program's end with run levels open, one way per test; an X window
# destroyed needs an X server (xvfb-run), labelled x11 for a pass without.
add_executable(window_life_driver ${CMAKE_CURRENT_LIST_DIR}/window_life.cpp)
target_link_libraries(window_life_driver PRIVATE morvane1_ui Qt6::Test xcb)
foreach(action exit close helpclose msgbox_exit msgbox_close)
  add_test(NAME life_${action}_depth50 COMMAND window_life_driver ${action} 50)
  set_tests_properties(life_${action}_depth50 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)
endforeach()
add_test(NAME life_destroyed_depth2 COMMAND xvfb-run -a $<TARGET_FILE:window_life_driver> destroyed 2)
set_tests_properties(life_destroyed_depth2 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" LABELS x11 TIMEOUT 60)

# Long runs: memory and the time of a display cycle must not grow. Alone, so
# that nothing shares the cores while it times; the sanitizer pass leaves it out.
add_executable(test_soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp)
target_link_libraries(test_soak PRIVATE morvane1_ui Qt6::Test)
add_test(NAME soak COMMAND test_soak)
set_tests_properties(soak PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS soak RUN_SERIAL TRUE TIMEOUT 300)
