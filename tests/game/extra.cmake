# The game's server requests and its rounds are tested against the stand-in server; the round
# tests write small word databases.
target_link_libraries(test_game PRIVATE zabko_devserver zabko_tools)
