# Warnings for every target of the project; tests add -Werror on top.
function(tarifmaster_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
endfunction()
