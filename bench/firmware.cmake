# Flash throughput on the virtual keyboard's boot loader (in-process and over its socket), and a
# 64 KB firmware package from the local HTTPS server downloaded, checked, unpacked and flashed.
tv_bench(firmware LIBS tv_update tv_vkb PkgConfig::MINIZIP ZLIB::ZLIB)
target_sources(bench_firmware PRIVATE ${CMAKE_SOURCE_DIR}/tests/update/HttpsServer.cpp
                                      ${CMAKE_SOURCE_DIR}/tests/update/ZipMaker.cpp
                                      ${CMAKE_SOURCE_DIR}/tests/app/ChildProgram.cpp)
target_include_directories(bench_firmware PRIVATE ${CMAKE_SOURCE_DIR}/tests
                                                  ${CMAKE_SOURCE_DIR}/tests/update)
target_compile_definitions(bench_firmware PRIVATE TV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                           TV_VIRTUAL_KEYBOARD_PATH="$<TARGET_FILE:virtual-keyboard>")
add_dependencies(bench_firmware virtual-keyboard)
