# Warnings on everywhere; the project's own targets call tarvelo_warnings().
function(tarvelo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
endfunction()
