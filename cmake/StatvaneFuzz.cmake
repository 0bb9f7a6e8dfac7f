# statvane_add_fuzz_target(NAME LIBS targets...)
# Adds the fuzz target NAME from NAME_fuzz.cpp beside the calling CMakeLists.txt,
# which defines LLVMFuzzerTestOneInput, with its starting inputs in corpus/NAME/.
# The program fuzz_NAME is built into the build folder's fuzz/ with the replay
# main, or as a libFuzzer program when STATVANE_FUZZ is on; either way ctest
# runs it over those inputs as the test fuzz.NAME (label "fuzz"). An optional
# NAME.dict beside the source gives make fuzz the words of the format.
add_custom_target(statvane_fuzzers)

function(statvane_add_fuzz_target name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    set(program fuzz_${name})
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    add_executable(${program} ${name}_fuzz.cpp)
    target_link_libraries(${program} PRIVATE statvane_options statvane_fuzz_support ${ARG_LIBS})
    set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
    if(STATVANE_FUZZ)
        target_link_options(${program} PRIVATE -fsanitize=fuzzer)
        set(replay -runs=0 ${corpus})
    else()
        target_link_libraries(${program} PRIVATE statvane_fuzz_replay)
        set(replay ${corpus})
    endif()
    add_dependencies(statvane_fuzzers ${program})
    add_test(NAME fuzz.${name} COMMAND ${program} ${replay})
    set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz)
endfunction()
