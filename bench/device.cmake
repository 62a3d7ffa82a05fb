tv_bench(device LIBS tv_device tv_vkb)
