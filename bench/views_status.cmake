if(TARGET orvandry_views_status)
  orvandry_add_bench(bench_views_status SOURCES ${CMAKE_CURRENT_LIST_DIR}/views_status_bench.cpp
                     LIBS orvandry_views_status Qt6::Widgets)
endif()
