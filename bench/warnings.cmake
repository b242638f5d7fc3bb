if(TARGET orvandry_warnings_store)
  orvandry_add_bench(bench_warnings_history SOURCES warnings_history.cpp LIBS orvandry_warnings_store)
endif()
