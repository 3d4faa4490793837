# Fuzz targets for the readers of outside bytes (clang's libFuzzer). They build only in a folder
# configured with clang and ORVANE_FUZZ=ON (`make fuzz`), where everything is also built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Under CTest (label fuzz) each target first
# writes its seed corpus from the sample complex, then runs over the corpus and goes on fuzzing
# for ORVANE_FUZZ_SECONDS; any crash, leak, hang or oversized allocation fails its test.
option(ORVANE_FUZZ "Build the fuzz targets (clang with libFuzzer)" OFF)
set(ORVANE_FUZZ_SECONDS 15 CACHE STRING "Seconds each fuzz target runs after its corpus under CTest")

if(ORVANE_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    add_custom_target(orvane-fuzzers)
endif()

# orvane_add_fuzzer(NAME SOURCES ... [LIBS ...])
# A fuzz target: its sources define LLVMFuzzerTestOneInput and orvaneFuzzSeeds (fuzztarget.h).
function(orvane_add_fuzzer name)
    if(NOT ORVANE_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE OrvaneFuzzTarget ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_compile_definitions(${name} PRIVATE ORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    orvane_warnings(${name})
    add_dependencies(orvane-fuzzers ${name})

    set(corpus ${CMAKE_BINARY_DIR}/fuzz/corpus/${name})
    add_test(NAME ${name}_seeds COMMAND ${CMAKE_COMMAND} -E env ORVANE_FUZZ_SEEDS=${corpus} $<TARGET_FILE:${name}>)
    add_test(NAME ${name} COMMAND ${name} -max_total_time=${ORVANE_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
                                  -malloc_limit_mb=512 ${corpus})
    set_tests_properties(${name}_seeds PROPERTIES FIXTURES_SETUP ${name}_corpus LABELS fuzz
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_corpus LABELS fuzz
                         TIMEOUT 600 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1")
endfunction()
