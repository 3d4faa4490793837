# ORVANE_SANITIZE=ON builds every target (programs, libraries, plugins, tests) with AddressSanitizer
# and UndefinedBehaviorSanitizer; any finding stops the process. Each test then runs through
# run-sanitized-test.cmake, which also fails it for a report written by a program it started.
option(ORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# Tests run several times slower sanitized: their CTest timeouts are multiplied by this.
set(ORVANE_TEST_TIMEOUT_SCALE 1)

if(ORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    set(ORVANE_TEST_TIMEOUT_SCALE 4)
    set(ORVANE_SANITIZER_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/cmake/sanitizers.supp)
    set(ORVANE_SANITIZER_REPORTS ${CMAKE_BINARY_DIR}/sanitizer-reports)
endif()

# The CTest command and environment of a sanitized test program: reports of the test and of every
# child it starts go to files of the test's own folder, checked after it ends.
function(orvane_sanitized_test name)
    set(reports ${ORVANE_SANITIZER_REPORTS}/${name})
    set(common "log_path=${reports}/report:print_suppressions=0")
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${name}> -DREPORTS=${reports}
                -P ${CMAKE_SOURCE_DIR}/cmake/run-sanitized-test.cmake)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:${common}"
        "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:${common}"
        "LSAN_OPTIONS=suppressions=${ORVANE_SANITIZER_SUPPRESSIONS}:${common}")
endfunction()
