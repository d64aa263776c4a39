# A QtTest executable run as a few processes side by side, each running every n-th of its test
# functions: most of a GUI test's time is spent waiting for the device simulator, so shards
# that wait at the same time end the whole sooner. The functions are read when CTest starts,
# from the executable's own -functions list, so a function added to the test is run without
# being named here.

# Registers `target` as tests `<name>/<k>-of-<shards>`, or `<name>/<class>/<k>-of-<shards>` for
# each class of an executable of several (each shard runs one class's functions). ENVIRONMENT
# has "@SHARD@" replaced by the shard's own word, for folders of its own.
function(zav_qttest_shards target name)
    cmake_parse_arguments(SHARD "" "SHARDS;TIMEOUT;COST" "ENVIRONMENT" ${ARGN})
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_shards.cmake)
    file(GENERATE OUTPUT ${script} CONTENT "
set(cmake [==[${CMAKE_COMMAND}]==])
set(exe [==[$<TARGET_FILE:${target}>]==])
set(name [==[${name}]==])
set(shards [==[${SHARD_SHARDS}]==])
set(environment [==[${SHARD_ENVIRONMENT}]==])
set(timeout [==[${SHARD_TIMEOUT}]==])
set(cost [==[${SHARD_COST}]==])
include([==[${PROJECT_SOURCE_DIR}/cmake/QtTestShardsDiscover.cmake]==])
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
