# The private sound server of the idle measurement (also built for the tests).
if(NOT TARGET tv_test_pulse)
  add_library(tv_test_pulse STATIC ${CMAKE_SOURCE_DIR}/tests/support/PulseDaemon.cpp)
  target_include_directories(tv_test_pulse PUBLIC ${CMAKE_SOURCE_DIR}/tests)
endif()
tv_bench(lighting LIBS tv_lighting tv_test_pulse)
