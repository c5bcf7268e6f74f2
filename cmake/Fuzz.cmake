# One libFuzzer executable per harness: tests/fuzz/<name>_fuzz.cpp becomes fuzz_<name>,
# seeded from tests/fuzz/corpus/<name>/ (scripts/fuzz.sh runs them). Built by the fuzz
# preset only: clang, with the library instrumented for coverage and sanitizers.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz harnesses need clang (configure with the fuzz preset)")
endif()

file(GLOB KP_FUZZ_SUPPORT CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/support/*.cpp)
add_library(kp_fuzz_support STATIC ${KP_FUZZ_SUPPORT})
# kp_private_deps: harnesses reach the platform headers, which include the libraries' own.
target_link_libraries(kp_fuzz_support PUBLIC kp_internals kp_private_deps)
target_include_directories(kp_fuzz_support PUBLIC ${PROJECT_SOURCE_DIR})

file(GLOB KP_FUZZ_HARNESSES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(harness IN LISTS KP_FUZZ_HARNESSES)
  get_filename_component(stem ${harness} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${stem})
  add_executable(fuzz_${name} ${harness})
  target_link_libraries(fuzz_${name} PRIVATE kp_fuzz_support)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endforeach()
