# The HTTP tests run a small cpp-httplib server inside the test process; the client is tested
# against the stand-in server.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
target_link_libraries(test_net PRIVATE PkgConfig::HTTPLIB zabko_devserver)

# The central object test writes small resource databases.
target_link_libraries(test_net PRIVATE zabko_tools)

# The connection flow tests read the stored text packs.
target_link_libraries(test_net PRIVATE zabko_text_packs)
