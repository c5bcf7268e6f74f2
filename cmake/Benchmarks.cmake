# One benchmark executable per folder under bench/.
find_package(benchmark REQUIRED)

file(GLOB_RECURSE KP_ALL_BENCH_FILES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/bench/*_benchmark.cpp)
set(KP_BENCH_DIRS "")
foreach(file IN LISTS KP_ALL_BENCH_FILES)
  get_filename_component(dir ${file} DIRECTORY)
  list(APPEND KP_BENCH_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES KP_BENCH_DIRS)

set(KP_BENCH_TARGETS "")
foreach(dir IN LISTS KP_BENCH_DIRS)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/bench ${dir})
  string(REPLACE "/" "_" base "${rel}")
  file(GLOB files CONFIGURE_DEPENDS ${dir}/*_benchmark.cpp)
  add_executable(bench_${base} ${files})
  # kp_private_deps: each benchmark runs beside the raw library doing the same work.
  target_link_libraries(bench_${base} PRIVATE kp_internals kp_private_deps benchmark::benchmark_main)
  target_compile_definitions(bench_${base} PRIVATE KP_TEST_DATA_DIR="${KP_TEST_DATA_DIR}")
  list(APPEND KP_BENCH_TARGETS bench_${base})
endforeach()
set_property(GLOBAL PROPERTY KP_BENCH_TARGETS ${KP_BENCH_TARGETS})
# The dispatch benchmark runs oneTBB beside the dispatch queues as its yardstick.
target_link_libraries(bench_dispatch PRIVATE TBB::tbb)
# The video frame benchmark writes its clips with the tests' clip writer.
target_sources(bench_avfoundation PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/VideoFixtures.cpp)
