# SPDX-License-Identifier: MIT
# Each source folder builds as a library that sees only its own headers and those of the
# libraries it links: its headers are reached through an include folder of its own in the build
# tree that holds just a link to the folder. An include that runs back up the layers ("meter/..."
# from graph/) finds no such file and fails the build.
function(kr820_expose_folder target folder)
  set(_root ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${_root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${_root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${_root})
endfunction()

# A library of the *.cpp and *.h of src/FOLDER, exposed as above, linking LIBS publicly.
#   kr820_folder_library(graph LIBS kr820_ui kr820_core Qt6::Widgets)
function(kr820_folder_library folder)
  cmake_parse_arguments(F "" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp
    ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  foreach(_excluded IN LISTS F_EXCLUDE)
    list(REMOVE_ITEM _sources ${PROJECT_SOURCE_DIR}/src/${folder}/${_excluded})
  endforeach()
  add_library(kr820_${folder} STATIC ${_sources})
  kr820_expose_folder(kr820_${folder} ${folder})
  target_link_libraries(kr820_${folder} PUBLIC ${F_LIBS} PRIVATE kr820_compiler_settings)
endfunction()
