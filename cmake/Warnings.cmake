# Warnings for every target of the project, in one place. AS_ERRORS makes them errors for that target
# (tests and test tools); TARIFMASTER_WERROR makes them errors everywhere (the checked builds of
# tools/test).
option(TARIFMASTER_WERROR "Treat warnings as errors in every target" OFF)

function(tarifmaster_warnings target)
    cmake_parse_arguments(ARG "AS_ERRORS" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
    if(ARG_AS_ERRORS OR TARIFMASTER_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
