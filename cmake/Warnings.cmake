# Our own targets are built with every warning shown; third-party code is not touched.
# The project's test script makes them errors; a packager's build with a compiler we
# never tried is not stopped by a new warning.
option(TAVLIX_WARNINGS_AS_ERRORS "Stop the build at a warning in our own code (scripts/test.sh turns it on)" OFF)

function(tavlix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -pedantic)
  if(TAVLIX_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC 12 takes a literal prepended to a std::string for overlapping copies when it
  # inlines deeply (-O3, every Release build): a false report at a dozen places, which
  # GCC 13 no longer makes. It is left off for GCC 12.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
