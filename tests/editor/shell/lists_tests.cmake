# Tests of the default-list dialogs and pages, the printed list, the help and
# the Batch page. Included by this folder's CMakeLists.txt.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Test)

foreach(t lists_dialogs_test report_print_test help_window_test)
  tessvane_add_test(${t}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${t}.cpp ${CMAKE_CURRENT_LIST_DIR}/lists_test_app.cpp
    LIBS tessvane_shell_lists Qt6::Test
    GUI)
endforeach()

# Tests that drive the real window share the window tests' fixture.
foreach(t lists_pages_test report_window_test help_page_test batch_page_test)
  tessvane_add_test(${t}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${t}.cpp ${CMAKE_CURRENT_LIST_DIR}/lists_test_app.cpp
    LIBS tessvane_window_test_support
    GUI)
endforeach()
