# The command-line writer is run by its test.
add_dependencies(test_tools zabko_resdb)
target_compile_definitions(test_tools PRIVATE ZABKO_RESDB="$<TARGET_FILE:zabko_resdb>")
# The generated word databases are read by their test.
add_dependencies(test_tools zabko_word_databases zabko_wordsdb)
target_compile_definitions(test_tools PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}"
  ZABKO_TEST_DATA_OUT="${ZABKO_TEST_DATA_OUT}" ZABKO_WORDSDB="$<TARGET_FILE:zabko_wordsdb>"
  ZABKO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The demo game graphics are checked against the names and sizes the game reads.
add_dependencies(test_tools zabko_demo_game_graphics zabko_game_graphics)
target_compile_definitions(test_tools PRIVATE ZABKO_GAME_GRAPHICS="$<TARGET_FILE:zabko_game_graphics>")
# The demo game sounds, when the build makes them, are decoded as the game decodes them.
target_link_libraries(test_tools PRIVATE zabko_audio)
if(TARGET zabko_demo_game_sounds)
  add_dependencies(test_tools zabko_demo_game_sounds)
endif()
