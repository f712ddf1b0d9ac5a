# The command-line writer is run by its test.
add_dependencies(test_tools zabko_resdb)
target_compile_definitions(test_tools PRIVATE ZABKO_RESDB="$<TARGET_FILE:zabko_resdb>")
