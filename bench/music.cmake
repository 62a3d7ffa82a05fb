# The sound played into the private server goes through a stream of the bench's own.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PULSE_SIMPLE REQUIRED IMPORTED_TARGET libpulse-simple)
if(NOT TARGET tv_test_pulse)
  add_library(tv_test_pulse STATIC ${CMAKE_SOURCE_DIR}/tests/support/PulseDaemon.cpp)
  target_include_directories(tv_test_pulse PUBLIC ${CMAKE_SOURCE_DIR}/tests)
endif()
tv_bench(music LIBS tv_app tv_vkb tv_test_pulse PkgConfig::PULSE_SIMPLE)
# The program reads its data files (configuration, layouts, language texts) from the sources.
target_compile_definitions(bench_music PRIVATE TV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
