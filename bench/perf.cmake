tv_bench(perf LIBS tv_app tv_keys tv_vkb)
