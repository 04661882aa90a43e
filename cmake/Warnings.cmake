# Our own targets build with warnings as errors; third-party code is not touched.
function(tavlix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -pedantic -Werror)
  # GCC 12 takes std::string concatenation for overlapping copies when it inlines
  # deeply (-O3), a false report fixed in later releases: shown, but not fatal.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
endfunction()
