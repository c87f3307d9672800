# What `cmake --install` puts under the prefix:
#
#   lib/        libzorpcore and libzorpdb, and the framework runtime
#               libraries they load (libzorprtl, libzorpdbrtl, libzorpvclrtl),
#               each with the soname lib<name>.so.<major>;
#               lib/cmake/Zorp/ the package for find_package(Zorp);
#               lib/pkgconfig/ zorpcore.pc and zorpdb.pc
#   lib/libzorpsqlite.so  the SQLite extension with the SQL functions
#               (".load libzorpsqlite"); a module, not linked, so without
#               a soname version and outside the CMake package
#   include/zorp/  the public headers, under the same relative paths as in
#               the tree ("component/Zorp.h", "framework/base/Stream.h"),
#               and the umbrella headers zorp.h and zorpdb.h; a program
#               adds include and writes <zorp/zorp.h>, so that only the
#               name zorp enters its include namespace
#   bin/zorp    the command-line tool (Zorp::zorp in the package, which
#               zorp_add_resource runs), and lib/zorp/zorp-db.so, the module
#               with its db commands (installed by tools/zorp)
#   share/man/man1/zorp.1.gz
#   share/doc/zorp/  README.md, CHANGELOG.md, the licence (as copyright),
#               the guides of docs/, and reference/,
#               the API reference, when zorp_reference was built
#
# The framework runtime libraries stay shared libraries of their own: both
# packages and the application must see one copy of the framework's global
# state (class and palette registries, the clipboard, the locale), which two
# embedded static copies would split.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZORP_LIBRARIES zorprtl zorpdbrtl zorpvclrtl zorpcore zorpdb)
set(ZORP_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zorp)
set(ZORP_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/zorp)

# Installed binaries find the libraries beside them, wherever the prefix is.
file(RELATIVE_PATH bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(${ZORP_LIBRARIES} PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  INSTALL_RPATH "$ORIGIN")
set_target_properties(zorp PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")

install(TARGETS ${ZORP_LIBRARIES} EXPORT ZorpTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS zorp EXPORT ZorpTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set_target_properties(zorpsqlite PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS zorpsqlite LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The man page goes in compressed, as man expects pages on Debian and
# elsewhere (-n: no name or time stamp, so the file is the same every build).
find_program(ZORP_GZIP gzip REQUIRED)
set(zorp_man ${PROJECT_BINARY_DIR}/man/zorp.1)
add_custom_command(OUTPUT ${zorp_man}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tools/zorp/zorp.1 ${zorp_man}
  COMMAND ${ZORP_GZIP} -9nf ${zorp_man}
  DEPENDS tools/zorp/zorp.1
  COMMENT "Compressing the man page"
  VERBATIM)
add_custom_target(zorp_man_page ALL DEPENDS ${zorp_man}.gz)
install(FILES ${zorp_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorp)
# The licence, under the name Debian gives it.
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorp RENAME copyright)
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorp FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

# Public headers. Every header of the framework, of common and of dbcontrols
# is public (new ones are installed without touching this file), except the
# ELF section reader behind TResourceStream (and the PostgreSQL classes' when
# they are not built). Of the component only TZorp's
# header and the records it names are; no engine header is: the codecs, the
# engine object and the component's helpers stay inside. The same lists say
# what the API reference covers (ZorpReference.cmake).
set(ZORP_PUBLIC_HEADER_DIRS framework common dbcontrols)
set(ZORP_PRIVATE_FRAMEWORK_HEADERS framework/base/ElfSections.h)
# Without libpq the PostgreSQL classes are not built, so their headers stay out.
if(NOT ZORP_HAVE_LIBPQ)
  list(APPEND ZORP_PRIVATE_FRAMEWORK_HEADERS
    framework/db/PGDatabase.h framework/db/PGResult.h framework/db/PGTable.h)
endif()
set(ZORP_PUBLIC_COMPONENT_HEADERS
  component/Zorp.h component/Headers.h component/FileInfo.h component/StreamIdentity.h)
set(ZORP_UMBRELLA_HEADERS packages/zorp.h packages/zorpdb.h)
set(private_patterns)
foreach(header IN LISTS ZORP_PRIVATE_FRAMEWORK_HEADERS)
  cmake_path(GET header FILENAME name)
  list(APPEND private_patterns PATTERN ${name} EXCLUDE)
endforeach()
install(DIRECTORY ${ZORP_PUBLIC_HEADER_DIRS} DESTINATION ${ZORP_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h" ${private_patterns})
install(FILES ${ZORP_PUBLIC_COMPONENT_HEADERS} DESTINATION ${ZORP_INSTALL_INCLUDEDIR}/component)
install(FILES ${ZORP_UMBRELLA_HEADERS} DESTINATION ${ZORP_INSTALL_INCLUDEDIR})

# find_package(Zorp): Zorp::zorpcore, Zorp::zorpdb and the runtime libraries
# they link, the tool Zorp::zorp and zorp_add_resource. No public header includes a third-party header, so the package
# needs no other package (SQLite and libpq are private dependencies of zorpdbrtl).
install(EXPORT ZorpTargets NAMESPACE Zorp:: DESTINATION ${ZORP_INSTALL_CMAKEDIR})
configure_package_config_file(cmake/ZorpConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZorpConfig.cmake
  INSTALL_DESTINATION ${ZORP_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZorpConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZorpConfig.cmake ${PROJECT_BINARY_DIR}/ZorpConfigVersion.cmake
  cmake/ZorpResources.cmake DESTINATION ${ZORP_INSTALL_CMAKEDIR})

# pkg-config files. The prefix is found from where the file lies, so the same
# files serve any install prefix (a temporary one, /usr in the Debian package).
file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
foreach(pc zorpcore zorpdb)
  configure_file(cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

include(cmake/ZorpReference.cmake)
