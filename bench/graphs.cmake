if(TARGET orvandry_graphs)
  orvandry_add_bench(bench_graphs SOURCES ${CMAKE_CURRENT_LIST_DIR}/graphs_bench.cpp
                     LIBS orvandry_graphs orvandry_logging Qt6::Widgets)
endif()
