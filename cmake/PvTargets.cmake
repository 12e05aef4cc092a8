# Helpers shared by every folder's CMakeLists.txt.

find_package(GTest REQUIRED)

# The main function of every unit test: the tests run inside a fresh temporary folder.
add_library(pv_gtest_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/temp_folder_main.cc)
target_link_libraries(pv_gtest_main PUBLIC GTest::gtest)

# pv_add_gtest(NAME SOURCES src... LIBS lib... [LABELS label...])
# One GoogleTest executable, registered with ctest as NAME. The label "engine" marks tests
# that the sanitizer build runs.
function(pv_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest pv_gtest_main pthread)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# pv_add_fuzzer(NAME SOURCES src... LIBS lib... CORPUS dir [SECONDS n])
# A libFuzzer target (only with PV_FUZZ and clang) and a short ctest run over its seed corpus.
function(pv_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT PV_FUZZ)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS} -fsanitize=fuzzer)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer
                   $<TARGET_FILE:${name}> ${F_CORPUS} ${work} ${F_SECONDS})
  set_tests_properties(${name} PROPERTIES LABELS "engine;fuzz")
endfunction()
