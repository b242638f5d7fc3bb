if(TARGET orvandry_views_picture)
  orvandry_add_bench(bench_views_picture SOURCES views_picture_bench.cpp LIBS orvandry_views_picture Qt6::Gui)
endif()
