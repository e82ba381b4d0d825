# Warnings are errors in every preset: the tree stays -Wall -Wextra -Wpedantic clean.
add_compile_options(-Wall -Wextra -Wpedantic)
if(NOT DEFINED CMAKE_COMPILE_WARNING_AS_ERROR)
  set(CMAKE_COMPILE_WARNING_AS_ERROR ON)
endif()
