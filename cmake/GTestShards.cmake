# A GoogleTest executable run as a few processes, each taking its share of the cases
# (GoogleTest's own sharding), instead of one process per case: under the sanitizers one
# start of an executable costs a third of a second, more than most of its cases. The shards
# run side by side; a failing case is named in its shard's output.
function(zav_gtest_shards target)
    cmake_parse_arguments(SHARD "" "SHARDS;TIMEOUT" "LABELS" ${ARGN})
    math(EXPR last "${SHARD_SHARDS} - 1")
    foreach(index RANGE ${last})
        math(EXPR number "${index} + 1")
        set(name "${target}/${number}-of-${SHARD_SHARDS}")
        add_test(NAME ${name} COMMAND ${target} --gtest_brief=1)
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "GTEST_TOTAL_SHARDS=${SHARD_SHARDS};GTEST_SHARD_INDEX=${index}"
            TIMEOUT ${SHARD_TIMEOUT})
        if(SHARD_LABELS)
            set_tests_properties(${name} PROPERTIES LABELS "${SHARD_LABELS}")
        endif()
    endforeach()
endfunction()
