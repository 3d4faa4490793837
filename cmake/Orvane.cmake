# Build rules shared by every module.

# The editor, its tools, its shared libraries and every plugin go into one folder,
# so that a scan of the program's directory finds the plugins. Installing lays them out
# otherwise (Install.cmake).
set(ORVANE_OUTPUT_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${ORVANE_OUTPUT_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${ORVANE_OUTPUT_DIR})
set(CMAKE_BUILD_RPATH "$ORIGIN")
set(CMAKE_BUILD_WITH_INSTALL_RPATH OFF)

# Test-only programs and fixture plugins stay out of the program's folder.
set(ORVANE_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/tests)

include(${CMAKE_CURRENT_LIST_DIR}/Sanitizers.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Install.cmake)


function(orvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# orvane_add_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A shared library of the platform or of the framework; its folder is its include path.
function(orvane_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} SHARED ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    orvane_warnings(${name})
    orvane_install_library(${name})
endfunction()

# orvane_add_plugin(NAME FILE file-name SOURCES ... [LIBS ...] [OUTPUT_DIR folder])
# An editor plugin: a module library with hidden symbols, named so that the shell's
# scan (by name, ignoring case) gives the intended tab and commit order. Plugins of the
# program's folder are installed; those built into a folder of their own (test fixtures) are not.
function(orvane_add_plugin name)
    cmake_parse_arguments(ARG "" "FILE;OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
    add_library(${name} MODULE ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE OrvaneContract ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        OUTPUT_NAME ${ARG_FILE}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    if(ARG_OUTPUT_DIR)
        set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIR})
    else()
        orvane_install_plugin(${name})
    endif()
    orvane_warnings(${name})
endfunction()

# orvane_add_test(NAME SOURCES ... [LIBS ...] [TIMEOUT seconds])
# One QtTest executable, registered with CTest and run on the offscreen platform. Every test
# links OrvaneTestIsolation, which points its settings at a fresh temporary folder before main,
# and needs the fixture that checks the engineer's own settings are left as they were.
function(orvane_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE OrvaneTestIsolation Qt6::Test ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORVANE_TEST_OUTPUT_DIR})
    target_compile_definitions(${name} PRIVATE
        ORVANE_BIN_DIR="${ORVANE_OUTPUT_DIR}"
        ORVANE_TEST_BIN_DIR="${ORVANE_TEST_OUTPUT_DIR}"
        ORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    orvane_warnings(${name})
    if(ORVANE_SANITIZE)
        orvane_sanitized_test(${name})
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * ${ORVANE_TEST_TIMEOUT_SCALE}")
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        FIXTURES_REQUIRED MachineSettings)
endfunction()

# orvane_add_benchmark(NAME SOURCES ... [LIBS ...])
# A speed benchmark: built with the project into <build>/bench, run by hand (`make bench`), never by ctest.
set(ORVANE_BENCH_OUTPUT_DIR ${CMAKE_BINARY_DIR}/bench)
function(orvane_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORVANE_BENCH_OUTPUT_DIR})
    target_compile_definitions(${name} PRIVATE ORVANE_BIN_DIR="${ORVANE_OUTPUT_DIR}")
    orvane_warnings(${name})
endfunction()

# Call at the end of a CMakeLists that lists its module folders with add_subdirectory(): fails
# the configuration when a folder beside them holds a CMakeLists.txt that no line adds, so a
# module is never left out of the build without a word.
function(orvane_require_listed_subdirectories)
    get_directory_property(added SUBDIRECTORIES)
    file(GLOB found LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
    foreach(lists ${found})
        get_filename_component(dir ${lists} DIRECTORY)
        if(NOT dir IN_LIST added)
            file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${dir})
            message(FATAL_ERROR "${shown} holds a CMakeLists.txt but no add_subdirectory() line "
                                "of ${CMAKE_CURRENT_LIST_FILE} adds it")
        endif()
    endforeach()
endfunction()
