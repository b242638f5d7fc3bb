if(TARGET orvandry_logging)
  orvandry_add_bench(bench_logging SOURCES logging_bench.cpp LIBS orvandry_logging)
endif()
