# Our own targets build with warnings as errors; third-party code is not touched.
function(tavlix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -pedantic -Werror)
endfunction()
