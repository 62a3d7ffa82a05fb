tv_bench(load LIBS tv_app tv_vkb)
# The program reads its data files (configuration, layouts, language texts) from the sources.
target_compile_definitions(bench_load PRIVATE TV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
