# The installed tree and the Debian package (packaging/). Both install
# every program, so everything is built first; the package test also stages
# CPack's install in the build folder, installs the package on this machine
# and removes it, and runs alone.
add_test(NAME install COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh install
                              ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${CMAKE_COMMAND})
set_tests_properties(install PROPERTIES LABELS "install" TIMEOUT 120)
add_test(NAME package COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh package
                              ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${CMAKE_CPACK_COMMAND})
set_tests_properties(package PROPERTIES LABELS "package" RUN_SERIAL TRUE TIMEOUT 180)
