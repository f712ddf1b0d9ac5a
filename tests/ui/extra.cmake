# Widget tests drive the controls with QTest (mouse, hover) and grab them after painting.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_ui PRIVATE Qt6::Test)

# The demo skin test opens the generated "Data.res" and saves a sample panel under the build folder.
add_dependencies(test_ui zabko_demo_skin)
target_compile_definitions(test_ui PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}" ZABKO_BUILD_DIR="${PROJECT_BINARY_DIR}")
