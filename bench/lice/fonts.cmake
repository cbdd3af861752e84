# Text drawing benchmarks.
add_executable(lice_font_bench ${CMAKE_CURRENT_LIST_DIR}/FontBench.cpp)
target_link_libraries(lice_font_bench PRIVATE tq_lice benchmark::benchmark benchmark::benchmark_main tq_build_flags)
