# The demo pronunciations, when the build makes them, are checked against the demo word lists.
if(TARGET zabko_pronunciations)
  add_dependencies(test_audio zabko_pronunciations)
  target_compile_definitions(test_audio PRIVATE ZABKO_DEMO_DATA="${ZABKO_DATA_OUT}")
endif()

# The production tests write their word and resource databases with the tools' writers and read
# the stored text packs.
target_link_libraries(test_audio PRIVATE zabko_tools zabko_text_packs)

# The closing box's text is read back with the markup parser the box uses.
target_link_libraries(test_audio PRIVATE zabko_ui)
