tv_bench(profilefile LIBS tv_macros tv_keys tv_lighting)
