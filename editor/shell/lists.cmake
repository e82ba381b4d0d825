# The default-list dialogs, the printed path list and the help viewer with
# its document. Included by this folder's CMakeLists.txt.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)

add_library(tessvane_shell_lists STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DirUnit2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DirUnit2.ui
  ${CMAKE_CURRENT_LIST_DIR}/TexForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TexForm.ui
  ${CMAKE_CURRENT_LIST_DIR}/PrtList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_topics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_dialog_services.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_entry_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_text.cpp
)
set_target_properties(tessvane_shell_lists PROPERTIES AUTOMOC ON AUTOUIC ON)
target_include_directories(tessvane_shell_lists PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tessvane_shell_lists PUBLIC tessvane_core Qt6::Widgets Qt6::PrintSupport)
qt_add_resources(tessvane_shell_lists tessvane_help
  PREFIX /help
  BASE ${PROJECT_SOURCE_DIR}/docs/help
  FILES ${PROJECT_SOURCE_DIR}/docs/help/Tessvane.html
)
