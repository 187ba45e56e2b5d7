# The window benchmark: drives the real main window, so it needs a display
# (xvfb-run on a machine without one). Included only when the GUI is built.
add_executable(bench_window ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp)
target_link_libraries(bench_window PRIVATE morvane1_ui)
