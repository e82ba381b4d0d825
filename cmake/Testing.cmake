# tessvane_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [GUI] [ENV VAR=value ...])
#
# Builds one GoogleTest executable and registers its cases with CTest.
# GUI tests run on Qt's offscreen platform, so they need no display.
if(BUILD_TESTING)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(tessvane_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(env ${T_ENV})
  if(T_GUI)
    list(APPEND env QT_QPA_PLATFORM=offscreen)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}")
endfunction()
