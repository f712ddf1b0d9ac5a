# Widget tests drive the controls with QTest (mouse, hover) and grab them after painting.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_ui PRIVATE Qt6::Test)
