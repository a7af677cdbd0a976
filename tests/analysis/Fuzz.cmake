# analysis_fuzz: a libFuzzer executable for the HTML scanner (clang only, off by default).
# The test suite runs the same entry point over a fixed set of generated inputs.
option(VESK_FUZZ "Build the libFuzzer target analysis_fuzz (needs clang)" OFF)
if(VESK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VESK_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  target_compile_options(analysis PRIVATE -fsanitize=fuzzer-no-link)
  add_executable(analysis_fuzz ${CMAKE_CURRENT_LIST_DIR}/parser_fuzzer.cpp
                               ${CMAKE_CURRENT_LIST_DIR}/parser_fuzz_support.cpp)
  target_compile_options(analysis_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(analysis_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_libraries(analysis_fuzz PRIVATE analysis)
endif()
