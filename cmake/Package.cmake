# The Debian package (make deb, scripts/build-deb.sh): CPack's DEB generator over
# the install rules, configured by the package preset (Release, prefix /usr).
# The library dependencies come from dpkg-shlibdeps; the Qt platform plug-ins are
# loaded at run time, so no library names them and they are listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessvane developers")
set(CPACK_PACKAGE_CONTACT "The Tessvane developers <tessvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the paths inside Imagine object files")
# The extended description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Imagine object (.iob) and project (.ist) files name the textures, brushes
and objects they use by the paths of the machine that wrote them: a PC or
an Amiga, today mostly an emulator. Tessvane shows every such path, gives it
a new directory, file name or description, and saves the file with a backup.
Default lists rewrite the paths of many files at once, and a volume map
finds the files of an emulated drive.
.
The package also holds tessvane-cli, which lists, checks and batch-updates
the paths from a terminal, and meshconv, which converts 3D meshes between
WaveFront OBJ, Imagine objects and OpenGL C source through its plug-ins.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tessvane.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# What Debian wants in /usr/share/doc/tessvane: the copyright in its
# machine-readable form and the package's changelog, compressed.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${TESSVANE_DOC_INSTALL_DIR})
tessvane_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog ${TESSVANE_DOC_INSTALL_DIR})

include(CPack)
