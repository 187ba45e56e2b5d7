# The end of the program's life: one scenario per test, each run through
# ui::RunProgram by a small driver, offscreen. A test passes when the program
# exits with status 0.
add_executable(window_life_driver ${CMAKE_CURRENT_LIST_DIR}/window_life.cpp)
target_link_libraries(window_life_driver PRIVATE morvane1_ui xcb)

foreach(action exit close helpclose msgbox_exit msgbox_close)
  foreach(depth 1 2 50)
    set(scenario ${action}_depth${depth})
    add_test(NAME life_${scenario} COMMAND window_life_driver ${scenario})
    set_tests_properties(life_${scenario} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      TIMEOUT 60)
  endforeach()
endforeach()

# The main window's X window destroyed by another X client, as xdotool
# windowclose does. Only a real X server has X windows, so this one runs under
# xvfb-run (packages xvfb and xauth); labelled "x11" for a pass that has none.
add_test(NAME life_destroyed_depth2 COMMAND xvfb-run -a $<TARGET_FILE:window_life_driver> destroyed_depth2)
set_tests_properties(life_destroyed_depth2 PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=xcb"
  LABELS x11
  TIMEOUT 60)

# Long runs in the real window: memory and time per display cycle must not
# grow. Labelled "soak"; the sanitizer build leaves it out. It runs alone, so
# that no other test shares the two cores while it times the display cycles.
add_executable(test_soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp)
set_target_properties(test_soak PROPERTIES AUTOMOC ON)
target_link_libraries(test_soak PRIVATE morvane1_ui Qt6::Test)
add_test(NAME soak COMMAND test_soak)
set_tests_properties(soak PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
  LABELS soak
  RUN_SERIAL TRUE
  TIMEOUT 900)
