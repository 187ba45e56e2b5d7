# The help window (Form2) and its text.
target_sources(morvane1_ui PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/help_text.h
  ${CMAKE_CURRENT_SOURCE_DIR}/help_text.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/form2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/form2.cpp
)
