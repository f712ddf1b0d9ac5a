# Warnings and instrumentation shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# CI builds with warnings as errors, so that a new warning fails the build where it appears.
option(ZABKO_WERROR "Treat compiler warnings as errors" OFF)
if(ZABKO_WERROR)
  add_compile_options(-Werror)
endif()

if(ZABKO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZABKO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZABKO_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# zabko_library(<name> [FOLDERS <subfolders>...] [LINKS <targets>...]): one static library per
# folder, built from every source file in the folder and in the subfolders it names, so that
# adding a file needs no edit here. The subfolders are kept on the target (ZABKO_FOLDERS), so that
# the library's tests can mirror them.
function(zabko_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LINKS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(folder ${ARG_FOLDERS})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  if(NOT sources)
    # A folder whose first sources have not arrived yet still names its links.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  set_property(TARGET ${name} PROPERTY ZABKO_FOLDERS ${ARG_FOLDERS})
endfunction()
