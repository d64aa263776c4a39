# Run by CTest as it starts (see QtTestRows.cmake): lists the rows and adds a test for each.
# A list that cannot be read becomes one failing test, never no test.
execute_process(COMMAND ${cmake} -E env QT_QPA_PLATFORM=offscreen ${exe} -datatags
                OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_QUIET)
set(rows 0)
if(status EQUAL 0)
    string(REPLACE "\n" ";" lines "${listing}")
    foreach(line IN LISTS lines)
        # "TestClass function row name", the row's name may hold spaces.
        if(line MATCHES "^[^ ]+ ${function} (.+)$")
            set(row "${CMAKE_MATCH_1}")
            math(EXPR rows "${rows} + 1")
            string(REPLACE "@ROW@" "${rows}" row_environment "${environment}")
            add_test("${name}/${row}" "${exe}" "${function}:${row}")
            set_tests_properties("${name}/${row}" PROPERTIES
                ENVIRONMENT "${row_environment}" TIMEOUT "${timeout}"
                # Each row starts a virtual X server: two starting at once can race for one
                # display number, so the rows take turns (other tests still run beside them).
                RESOURCE_LOCK "${name}")
            if(cost)
                set_tests_properties("${name}/${row}" PROPERTIES COST "${cost}")
            endif()
            if(alone AND row MATCHES "${alone}")
                # "timed": the test command runs them last, with nothing beside them.
                set_tests_properties("${name}/${row}" PROPERTIES RUN_SERIAL ON LABELS timed)
            endif()
        endif()
    endforeach()
endif()
if(rows EQUAL 0)
    add_test("${name}/rows" "${cmake}" -E false)
endif()
