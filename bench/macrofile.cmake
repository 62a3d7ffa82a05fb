tv_bench(macrofile LIBS tv_macros)
