# A compiled-in resource for the stream tests, named as the programs name theirs.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/fixtures/Test.Pack.txt PROPERTIES QT_RESOURCE_ALIAS TEST_PACK)
qt_add_resources(test_core test_core_resources PREFIX "/rcdata" BASE ${CMAKE_CURRENT_SOURCE_DIR}/fixtures
  FILES ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/Test.Pack.txt)

# Resource databases for the tests are written with the tools' writer.
target_link_libraries(test_core PRIVATE zabko_tools)

# The stored text packs, and the sources that the key-coverage test reads.
target_link_libraries(test_core PRIVATE zabko_text_packs)
target_compile_definitions(test_core PRIVATE ZABKO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
