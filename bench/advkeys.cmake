tv_bench(advkeys LIBS tv_keys)
