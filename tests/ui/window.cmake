# The window's tests, offscreen: the surfaces, the window and the help window
# (again at device pixel ratio 2), the program's end at depth, and long runs.
function(morvane1_window_test target)
  add_executable(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE MORVANE1_SHEMA_GIF="${CMAKE_SOURCE_DIR}/assets/shema.gif")
  target_link_libraries(${target} PRIVATE morvane1_ui Qt6::Test)
endfunction()
morvane1_window_test(test_picture_box ${CMAKE_CURRENT_LIST_DIR}/test_picture_box.cpp)
morvane1_window_test(test_window ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp)
morvane1_window_test(window_life_driver ${CMAKE_CURRENT_LIST_DIR}/window_life.cpp)
find_library(MORVANE1_XCB_LIBRARY xcb)  # to destroy the X window from another client
if(MORVANE1_XCB_LIBRARY)
  target_link_libraries(window_life_driver PRIVATE ${MORVANE1_XCB_LIBRARY})
endif()
morvane1_window_test(test_soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp)

add_test(NAME test_picture_box COMMAND test_picture_box)
add_test(NAME test_window COMMAND test_window)  # its speed and share of a core: figures of bench_window
add_test(NAME test_window_scale2 COMMAND test_window surfacesAtDeviceResolution)
foreach(action exit close helpclose msgbox_exit msgbox_close)
  add_test(NAME life_${action}_depth50 COMMAND window_life_driver ${action} 50)
endforeach()
# A scheme file that blocks (a FIFO) or a run that never ends fails in time.
set_tests_properties(test_picture_box test_window life_exit_depth50 life_close_depth50 life_helpclose_depth50
  life_msgbox_exit_depth50 life_msgbox_close_depth50 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
set_tests_properties(test_window_scale2 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
# An X window destroyed by another client needs an X server.
if(MORVANE1_XCB_LIBRARY)
  add_test(NAME life_destroyed_depth2 COMMAND xvfb-run -a $<TARGET_FILE:window_life_driver> destroyed 2)
  set_tests_properties(life_destroyed_depth2 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" LABELS x11 TIMEOUT 60)
  # At 200 % the window is larger than these screens: it fits them, scrolled,
  # and "Exit", scrolled into view, is clicked where the screen shows it.
  foreach(screen 1600x1000 1920x1080)
    add_test(NAME life_exit_scale2_${screen} COMMAND xvfb-run -a -s "-screen 0 ${screen}x24"
                                                     $<TARGET_FILE:window_life_driver> exit 2 --lang en)
    set_tests_properties(life_exit_scale2_${screen} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=2" LABELS x11 TIMEOUT 60)
  endforeach()
endif()
# Memory and the time of a display cycle must not grow over long runs; alone,
# so nothing shares the cores while it times. The sanitizer pass leaves it out.
add_test(NAME soak COMMAND test_soak)
set_tests_properties(soak PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS soak RUN_SERIAL TRUE TIMEOUT 300)
