# Our presets and CI make every warning an error; a plain build (a packager's, say, with a newer
# compiler that finds something new) still builds and only reports them.
option(TQ7_WERROR "Treat compiler warnings as errors" OFF)

# Call this on each target of ours.
function(tq7_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion
                                             # designated initializers leave the other members at their defaults on purpose
                                             -Wno-missing-field-initializers)
    if(TQ7_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
