# Runs one sanitized test program and fails when it fails or when it, or any program it started,
# left a sanitizer report in REPORTS (a child killed or judged only by its output counts too).
#   cmake -DPROGRAM=<test> -DREPORTS=<folder> -P run-sanitized-test.cmake

file(REMOVE_RECURSE "${REPORTS}")
file(MAKE_DIRECTORY "${REPORTS}")
execute_process(COMMAND "${PROGRAM}" RESULT_VARIABLE result)

file(GLOB reports "${REPORTS}/report.*")
foreach(report ${reports})
    file(READ "${report}" text)
    message("---- ${report}\n${text}")
endforeach()
if(reports)
    list(LENGTH reports count)
    message(FATAL_ERROR "${count} sanitizer report(s) above; the test program exited with: ${result}")
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the test program exited with: ${result}")
endif()
