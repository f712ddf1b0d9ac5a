# The windows and frames are driven with QTest, run against the stand-in server in process
# (devserver and the tools that write its databases), and read the stored text packs; the help
# test reads the generated program folder.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_learn PRIVATE Qt6::Test zabko_devserver zabko_tools zabko_text_packs)
target_compile_definitions(test_learn PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}" ZABKO_BUILD_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(test_learn zabko_demo_skin)
