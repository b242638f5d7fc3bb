if(TARGET orvandry_views_batch)
  orvandry_add_bench(bench_views_batch SOURCES views_batch.cpp LIBS orvandry_views_batch Qt6::Gui)
endif()
