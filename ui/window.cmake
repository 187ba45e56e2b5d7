# The main window (Form1), its drawing surfaces and the program itself.
target_sources(morvane1_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/picture_box.h
  ${CMAKE_CURRENT_LIST_DIR}/picture_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_controls.h
  ${CMAKE_CURRENT_LIST_DIR}/form1_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1.h
  ${CMAKE_CURRENT_LIST_DIR}/form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program.h
  ${CMAKE_CURRENT_LIST_DIR}/program.cpp
)

add_executable(morvane1 ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(morvane1 PRIVATE morvane1_ui)
install(TARGETS morvane1 RUNTIME DESTINATION bin)
