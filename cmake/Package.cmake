# The Debian package: `cpack -G DEB` in a build packs what `cmake --install` puts below /usr, with
# the dependencies that dpkg-shlibdeps reads from the programs. scripts/package.sh makes and checks it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tq7config)
set(CPACK_PACKAGE_VENDOR "The TQ7Config developers")
set(CPACK_PACKAGE_CONTACT "${TQ7_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
file(READ ${PROJECT_SOURCE_DIR}/packaging/deb/description.txt CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/deb/postinst
                                       ${PROJECT_SOURCE_DIR}/packaging/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
