# Helpers shared by the folder CMakeLists files.

# foldscan_gtest(<name> SOURCES ... [LIBS ...])
# A GoogleTest program registered with ctest; under the Windows build ctest
# runs it through the Wine wrapper given as the cross-compiling emulator.
function(foldscan_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} foldscan_testsupport GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES LABELS unit TIMEOUT 600)
endfunction()

# foldscan_fuzzer(<name> SOURCES ... [LIBS ...] CORPUS <dir>)
# With clang a libFuzzer program; elsewhere the same target linked with a
# driver that replays files. Either way ctest replays the seed corpus.
function(foldscan_fuzzer name)
    cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS} foldscan_fuzzsupport)
    if(FOLDSCAN_LIBFUZZER)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${F_CORPUS})
    else()
        target_link_libraries(${name} PRIVATE foldscan_fuzzreplay)
        add_test(NAME ${name}_corpus COMMAND ${name} ${F_CORPUS})
    endif()
    set_tests_properties(${name}_corpus PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()

# foldscan_benchmark(<name> SOURCES ... [LIBS ...])
# A Google Benchmark program, built natively only; run by hand, never by ctest.
function(foldscan_benchmark name)
    if(NOT TARGET benchmark::benchmark)
        return()
    endif()
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} foldscan_testsupport benchmark::benchmark)
endfunction()
