# kelvane_add_test(<name> SOURCES <files...> LIBRARIES <targets...> [WIDGETS])
# One test executable, one CTest entry. WIDGETS runs it on the offscreen platform.
# Cross-built for Windows, the tests run under the emulator (Wine) of the toolchain.
function(kelvane_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "WIDGETS" "" "SOURCES;LIBRARIES")
    qt_add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    set(environment)
    if(arg_WIDGETS)
        list(APPEND environment QT_QPA_PLATFORM=offscreen)
    endif()
    if(WIN32)
        # Qt Test reports to the debugger rather than to the console that ctest
        # does not give it.
        list(APPEND environment QT_FORCE_STDERR_LOGGING=1)
    endif()
    if(WIN32 AND CMAKE_CROSSCOMPILING)
        # Wine hands QT_ variables to its programs only with WINE before them.
        list(TRANSFORM environment PREPEND WINE OUTPUT_VARIABLE for_wine)
        list(APPEND environment ${for_wine})
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
    set_property(GLOBAL APPEND PROPERTY KELVANE_TESTS ${name})
endfunction()
