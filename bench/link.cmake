if(TARGET orvandry_link)
  orvandry_add_bench(bench_link_cycle SOURCES link_cycle_bench.cpp LIBS orvandry_link)
endif()
