tv_bench(storage LIBS tv_storage)
