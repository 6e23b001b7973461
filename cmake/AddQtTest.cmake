# add_qt_test(NAME SOURCES src... LIBS lib... [LABELS label...] [LAUNCHER command...])
# One executable and one CTest entry per test file; GUI tests run offscreen. A launcher runs the test program (e.g.
# umockdev-wrapper, which preloads umockdev's library).
function(add_qt_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;LAUNCHER" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
    # A preloaded library comes before the sanitizer's runtime, which would refuse to start.
    set(asan_options detect_leaks=0)
    if(T_LAUNCHER)
        string(APPEND asan_options :verify_asan_link_order=0)
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "${T_LABELS}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=${asan_options}")
endfunction()
