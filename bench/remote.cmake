if(TARGET orvandry_app AND TARGET orvandry_remote)
  orvandry_add_bench(bench_remote_frame SOURCES remote_frame_bench.cpp LIBS orvandry_app)
endif()
