# The layout walk runs against the demo data set (word databases and pronunciations).
# The program runs against the stand-in server in process, over the generated program folder
# ("Data.res", "Data.hlp") and the stored text packs.
target_link_libraries(test_apps PRIVATE zabko_devserver zabko_tools zabko_text_packs)
target_compile_definitions(test_apps PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}")
add_dependencies(test_apps zabko_demo_skin zabko_demo_game_graphics zabko_word_databases zabko_pronunciations)
