# The Debian package (`make package`, or `cpack -G DEB` in the build folder): everything that
# `cmake --install` installs, under /usr. The libraries it needs are found by dpkg-shlibdeps;
# xdg-utils is added for sending the source by mail.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ulvan)
set(CPACK_PACKAGE_VENDOR "Ulvan developers")
set(CPACK_PACKAGE_CONTACT "Ulvan developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small development environment for a subset of Pascal")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Ulvan is an editor window that compiles a Pascal program in one pass into code for its "
    "own stack machine, writes a readable listing of that code and runs the program in a "
    "console window. The same compiler and machine run in a terminal as ulvan-run.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# cmake --install creates the folders above each installed file under the packer's umask:
# opened to everyone before packing.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/OpenFolders.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
include(CPack)
