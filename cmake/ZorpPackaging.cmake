# The Debian package "zorp", built with `cpack -G DEB` in a configured build
# directory: the tool, the shared libraries, headers, the CMake and
# pkg-config files and the man page, installed under /usr. Dependencies come
# from dpkg-shlibdeps; binaries are stripped. The libraries land in /usr/lib,
# so CPack gives the package postinst and postrm scripts that run ldconfig.
set(CPACK_PACKAGE_NAME zorp)
set(CPACK_PACKAGE_VENDOR "Zorp developers")
set(CPACK_PACKAGE_CONTACT "Zorp developers <zorp@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compression library for applications, with the zorp tool")
set(CPACK_PACKAGE_DESCRIPTION "Zorp compresses byte strings, streams and files with four methods
(stored, run-length, LZH and LZH5), and reads and writes multi-file
archives, compressed resources in ELF modules and compressed SQLite columns.
This package holds the zorp command-line tool, the shared libraries
libzorpcore and libzorpdb with the framework runtime they load, their C++20
headers, the CMake package and the pkg-config files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
