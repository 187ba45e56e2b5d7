# The help window and its text.
add_executable(test_help ${CMAKE_CURRENT_LIST_DIR}/test_help.cpp)
set_target_properties(test_help PROPERTIES AUTOMOC ON)
target_link_libraries(test_help PRIVATE morvane1_ui Qt6::Test)
add_test(NAME test_help COMMAND test_help)
set_tests_properties(test_help PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
