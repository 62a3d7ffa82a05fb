tv_bench(keytables LIBS tv_keys tv_vkb)
