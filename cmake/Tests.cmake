# One test executable per folder under tests/: every *_test.cpp directly inside a
# folder is linked into it. A file named *_solo_test.cpp gets an executable of its
# own, for tests that need a fresh process (once-per-process behaviour).
find_package(GTest REQUIRED)

add_library(kp_test_main OBJECT ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
target_link_libraries(kp_test_main PUBLIC kp_internals GTest::gmock GTest::gtest)

file(GLOB_RECURSE KP_ALL_TEST_FILES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/tests/*_test.cpp)
file(GLOB_RECURSE KP_TEST_SUPPORT CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
list(REMOVE_ITEM KP_TEST_SUPPORT ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp
     ${PROJECT_SOURCE_DIR}/tests/support/TestSupport.cpp)

set(KP_TEST_DIRS "")
foreach(file IN LISTS KP_ALL_TEST_FILES)
  get_filename_component(dir ${file} DIRECTORY)
  list(APPEND KP_TEST_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES KP_TEST_DIRS)

# Helpers shared by the tests (image builders, fixtures), compiled once. The tests are
# white-box: some reach the internal shims and the backend libraries themselves.
add_library(kp_test_support STATIC ${KP_TEST_SUPPORT} ${PROJECT_SOURCE_DIR}/tests/support/TestSupport.cpp)
target_link_libraries(kp_test_support PUBLIC kp_internals kp_private_deps GTest::gmock GTest::gtest)
target_include_directories(kp_test_support PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(kp_test_support PRIVATE KP_TEST_DATA_DIR="${KP_TEST_DATA_DIR}")

function(kp_add_test_executable name)
  add_executable(${name} ${ARGN} $<TARGET_OBJECTS:kp_test_main>)
  target_link_libraries(${name} PRIVATE kp_test_main kp_test_support)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    TIMEOUT 900)
endfunction()

foreach(dir IN LISTS KP_TEST_DIRS)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${dir})
  string(REPLACE "/" "_" base "${rel}")
  string(REPLACE "+" "_" base "${base}")
  file(GLOB shared_files CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  file(GLOB solo_files CONFIGURE_DEPENDS ${dir}/*_solo_test.cpp)
  if(solo_files)
    list(REMOVE_ITEM shared_files ${solo_files})
  endif()
  if(shared_files)
    kp_add_test_executable(test_${base} ${shared_files})
  endif()
  foreach(solo IN LISTS solo_files)
    get_filename_component(stem ${solo} NAME_WE)
    string(REPLACE "+" "_" stem "${stem}")
    kp_add_test_executable(test_${base}_${stem} ${solo})
  endforeach()
endforeach()
