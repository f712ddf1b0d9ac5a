# Game tests drive widgets with QTest, read the game's stored text pack, and build small resource
# databases, word databases and MP3 players of their own; the game's server requests and its
# rounds are tested against the stand-in server.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_game PRIVATE Qt6::Test zabko_text_packs zabko_tools zabko_devserver)
target_compile_definitions(test_game PRIVATE ZABKO_BUILD_DIR="${PROJECT_BINARY_DIR}")
# The sample scene is painted from the generated demo graphics.
add_dependencies(test_game zabko_demo_game_graphics)
target_compile_definitions(test_game PRIVATE ZABKO_DATA_OUT="${ZABKO_DATA_OUT}")
