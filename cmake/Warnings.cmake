# Every target of ours builds with warnings as errors; call this on each one.
function(tq7_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Werror
                                             # designated initializers leave the other members at their defaults on purpose
                                             -Wno-missing-field-initializers)
endfunction()
