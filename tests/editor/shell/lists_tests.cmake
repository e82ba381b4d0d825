# Tests of the default-list dialogs and pages, the printed list, the help and
# the Batch page. Included by this folder's CMakeLists.txt.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Test)

foreach(t lists_dialogs_test report_print_test help_window_test)
  tessvane_add_test(${t}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${t}.cpp
    LIBS tessvane_shell_lists Qt6::Test
    GUI
    ENV HOME=${CMAKE_CURRENT_BINARY_DIR}/home XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/home/.config
        XDG_CACHE_HOME=${CMAKE_CURRENT_BINARY_DIR}/home/.cache)
endforeach()
