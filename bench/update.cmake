# Download throughput from a local HTTPS server and extraction speed next to unzip(1); the
# server and the zip writer are the update tests' own.
tv_bench(update LIBS tv_update PkgConfig::MINIZIP ZLIB::ZLIB)
target_sources(bench_update PRIVATE ${CMAKE_SOURCE_DIR}/tests/update/HttpsServer.cpp
                                    ${CMAKE_SOURCE_DIR}/tests/update/ZipMaker.cpp
                                    ${CMAKE_SOURCE_DIR}/tests/app/ChildProgram.cpp)
target_include_directories(bench_update PRIVATE ${CMAKE_SOURCE_DIR}/tests
                                                ${CMAKE_SOURCE_DIR}/tests/update)
target_compile_definitions(bench_update PRIVATE TV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
