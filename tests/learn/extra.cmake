# The windows are driven with QTest and read the stored text packs; the help test reads the
# generated program folder.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_learn PRIVATE Qt6::Test zabko_text_packs)
target_compile_definitions(test_learn PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}")
