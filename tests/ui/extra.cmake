# Widget tests drive the controls with QTest (mouse, hover) and grab them after painting.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_ui PRIVATE Qt6::Test)

# The demo skin test opens the generated "Data.res" and saves a sample panel under the build folder.
add_dependencies(test_ui zabko_demo_skin)
target_compile_definitions(test_ui PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}" ZABKO_BUILD_DIR="${PROJECT_BINARY_DIR}")
# The message boxes take their button captions from the stored text packs.
target_link_libraries(test_ui PRIVATE zabko_text_packs)
# The download dialog is run against the HTTP tests' loopback server.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
target_sources(test_ui PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/net/test_server.cpp)
target_link_libraries(test_ui PRIVATE PkgConfig::HTTPLIB)
