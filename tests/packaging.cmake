# The installed tree and the Debian package (packaging/). Both run the whole
# install, so every installed program has to be built first; the package test
# also stages CPack's install in the build folder and runs alone.
if(MORVANE1_GUI)
  set(_morvane1_gui 1)
else()
  set(_morvane1_gui 0)
endif()

add_test(NAME install
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh install
          ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${_morvane1_gui} ${CMAKE_COMMAND})
set_tests_properties(install PROPERTIES LABELS "install" TIMEOUT 60)

add_test(NAME package
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh package
          ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${_morvane1_gui} ${CMAKE_CPACK_COMMAND})
set_tests_properties(package PROPERTIES LABELS "package" RUN_SERIAL TRUE TIMEOUT 60)
