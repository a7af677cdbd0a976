# bars_layout_registry_fuzz and bars_layout_ini_fuzz: libFuzzer executables for the bar
# layout store, one per stored format (clang only, with VESK_FUZZ=ON; see analysis/Fuzz.cmake).
# The test suite runs the same entry points over a fixed set of generated inputs.
if(VESK_FUZZ)
  foreach(lib bars_model platform_core platform_io)
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
  endforeach()
  foreach(format Registry Ini)
    string(TOLOWER ${format} name)
    set(fuzz bars_layout_${name}_fuzz)
    add_executable(${fuzz} ${CMAKE_CURRENT_LIST_DIR}/layout_fuzzer.cpp ${CMAKE_CURRENT_LIST_DIR}/layout_fuzz_support.cpp)
    target_compile_definitions(${fuzz} PRIVATE VESK_LAYOUT_FUZZ_FORMAT=${format})
    target_compile_options(${fuzz} PRIVATE -fsanitize=fuzzer)
    target_link_options(${fuzz} PRIVATE -fsanitize=fuzzer)
    target_include_directories(${fuzz} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    target_link_libraries(${fuzz} PRIVATE bars_model bars_extitems editor_resources Qt6::Widgets)
  endforeach()
endif()
