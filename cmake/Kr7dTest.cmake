# kr7d_add_test(<name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>])
# One QtTest executable per unit, run headless through CTest, with the shared <support/...> helpers.
function(kr7d_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test kr7d_options kr7d_test_support ${T_LIBS})
    target_compile_definitions(${name} PRIVATE
        KR7D_APP_DIR="${KR7D_APP_DIR}"
        KR7D_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=*.debug=false")
endfunction()

# kr7d_add_benchmark(<name> SOURCES <files...> [LIBS <targets...>])
# Built with the project, never run by CTest. With KR7D_BENCHMARKS off they are
# built only on request (the sanitizer build has no use for them).
option(KR7D_BENCHMARKS "Build the benchmarks with everything else" ON)
function(kr7d_add_benchmark name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    if(NOT KR7D_BENCHMARKS)
        set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    endif()
    target_link_libraries(${name} PRIVATE Qt5::Test kr7d_options kr7d_test_support ${B_LIBS})
endfunction()
