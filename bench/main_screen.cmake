if(TARGET orvandry_app)
  orvandry_add_bench(bench_main_screen SOURCES main_screen_bench.cpp LIBS orvandry_app)
endif()
