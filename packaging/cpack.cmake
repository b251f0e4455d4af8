# The Debian package, zanbury_VERSION_ARCH.deb, built by `make package` from a tree configured
# with the games layout, the /usr prefix and Debian's hardening flags.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zanbury)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zanbury developers")
set(CPACK_PACKAGE_CONTACT "Zanbury developers <dev@zanbury.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skateboarding game: jump, hop, flip and grind through the parks")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_SOURCE_DIR}/description.txt)
# The man pages name the configured prefix, so the package installs there too.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZANBURY_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Stripped as dh_strip strips, before the checksums and dependencies are taken.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/strip.cmake)

include(CPack)
