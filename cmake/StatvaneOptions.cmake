# One interface target carries the compiler settings every target of ours links.
add_library(statvane_options INTERFACE)
target_compile_features(statvane_options INTERFACE cxx_std_20)
target_compile_options(statvane_options INTERFACE -Wall -Wextra -Wpedantic -Werror)
target_include_directories(statvane_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

option(STATVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(STATVANE_SANITIZE)
    target_compile_options(statvane_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(statvane_options INTERFACE -fsanitize=address,undefined)
endif()

# Builds the fuzz targets as libFuzzer programs (tests/fuzz), and everything
# they test with the coverage instrumentation libFuzzer steers by.
option(STATVANE_FUZZ "Build the fuzz targets for libFuzzer (needs clang)" OFF)
if(STATVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "STATVANE_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    target_compile_options(statvane_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_link_options(statvane_options INTERFACE -fsanitize=address,undefined)
endif()
