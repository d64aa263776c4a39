# One test per row of a QtTest executable, so that CTest runs the rows of a long test side by
# side. The rows are read when CTest starts, from the executable's own -datatags list, so a
# row added to the test is run without being named here.

# Registers the rows of `target`'s function `function` as tests `<name>/<row>`. Each row gets
# ENVIRONMENT with "@ROW@" replaced by the row's number, for folders of its own. Rows whose
# name matches ALONE run with no other test of their CTest run beside them, labelled "timed"
# (rows that measure how fast the program answers). COST orders them among the other tests.
function(zav_qttest_rows target name function)
    cmake_parse_arguments(ROWS "" "TIMEOUT;ALONE;COST" "ENVIRONMENT" ${ARGN})
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_rows.cmake)
    file(GENERATE OUTPUT ${script} CONTENT "
set(cmake [==[${CMAKE_COMMAND}]==])
set(exe [==[$<TARGET_FILE:${target}>]==])
set(name [==[${name}]==])
set(function [==[${function}]==])
set(environment [==[${ROWS_ENVIRONMENT}]==])
set(timeout [==[${ROWS_TIMEOUT}]==])
set(alone [==[${ROWS_ALONE}]==])
set(cost [==[${ROWS_COST}]==])
include([==[${PROJECT_SOURCE_DIR}/cmake/QtTestRowsDiscover.cmake]==])
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
