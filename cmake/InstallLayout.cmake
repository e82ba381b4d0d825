# Where an installed tree keeps its files (GNUInstallDirs: with the prefix /usr
# on Debian the libraries go to lib/<multiarch>).
#
# The programs find their files relative to their own directory, so a tree
# installed with `cmake --install ... --prefix DIR` works wherever DIR is moved.
# The paths below, seen from the programs' directory, are compiled into them:
#   TESSVANE_PLUGINS_FROM_BINDIR  the converter plug-ins (meshconv)
#   TESSVANE_DATA_FROM_BINDIR     the window's help (Tessvane); its presence also
#                                 tells an installed program from one in a build
#                                 tree or copied alone
include(GNUInstallDirs)

set(TESSVANE_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/meshconv)
set(TESSVANE_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tessvane)
set(TESSVANE_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/tessvane)

file(RELATIVE_PATH TESSVANE_PLUGINS_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_LIBDIR}/meshconv)
file(RELATIVE_PATH TESSVANE_DATA_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/tessvane)

# The libraries the programs link are static or come from the system, and the
# plug-ins are loaded by path: no run path is needed, and none is left in the
# installed files (a build-tree path would be a fault there).
set(CMAKE_SKIP_INSTALL_RPATH ON)

# tessvane_install_gzipped(<file> <destination>)
#
# Installs <file> (relative to the current source folder) compressed, as
# <destination>/<name>.gz. Debian wants man pages and changelogs so; gzip -9n
# stores neither name nor time, so the build is reproducible.
function(tessvane_install_gzipped file destination)
  get_filename_component(source ${file} ABSOLUTE)
  get_filename_component(name ${file} NAME)
  set(packed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${packed}
    DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${packed})
  install(FILES ${packed} DESTINATION ${destination})
endfunction()

# tessvane_install_man_page(<page>)
#
# Installs the man page <page>, kept beside the code of its program and named
# <name>.<section>, into share/man/man<section>.
function(tessvane_install_man_page page)
  string(REGEX MATCH "[1-9]$" section ${page})
  tessvane_install_gzipped(${page} ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
