if(TARGET orvandry_graphs)
  orvandry_add_bench(bench_graphs SOURCES ${CMAKE_CURRENT_LIST_DIR}/graphs_bench.cpp
                     LIBS orvandry_graphs Qt6::Widgets)
endif()
