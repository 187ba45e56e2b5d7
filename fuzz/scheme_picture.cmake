# "схема" through the button's handler on a real picture, offscreen; needs the
# Qt side, so only with MORVANE1_GUI.
morvane1_fuzzer(scheme_picture_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/scheme_picture_fuzz.cpp)
target_link_libraries(scheme_picture_fuzz PRIVATE morvane1_ui)
