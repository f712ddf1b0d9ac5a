# The layout walk runs against the demo data set (word databases and pronunciations).
# The program runs against the stand-in server in process, over the generated program folder
# ("Data.res", "Data.hlp") and the stored text packs.
target_link_libraries(test_apps PRIVATE zabko_devserver zabko_tools zabko_text_packs)
target_compile_definitions(test_apps PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}")
add_dependencies(test_apps zabko_demo_skin zabko_demo_game_graphics zabko_word_databases zabko_pronunciations)

# The learning program with a learner's script, for the tests that run it as a process of its
# own (signals, a kill) against the stand-in server in the test.
add_executable(scripted_zabkolex ${CMAKE_CURRENT_SOURCE_DIR}/apps/driver/scripted_zabkolex.cpp)
target_link_libraries(scripted_zabkolex PRIVATE zabko_apps zabko_text_packs)
target_include_directories(scripted_zabkolex PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(scripted_zabkolex PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}")
add_dependencies(test_apps scripted_zabkolex)
target_compile_definitions(test_apps PRIVATE ZABKO_SCRIPTED_PROGRAM="$<TARGET_FILE:scripted_zabkolex>")
