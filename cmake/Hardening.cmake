# The hardening Debian builds its own packages with: a stack protector, fortified libc
# calls, and relocations made read-only once bound at start-up. Fortifying needs an
# optimised build and stands in the sanitizers' way, so those builds go without it.
option(TAVLIX_HARDENING "Build with the hardening flags of Debian's own packages" ON)

if(TAVLIX_HARDENING)
  add_compile_options(-fstack-protector-strong)
  if(NOT TAVLIX_SANITIZE AND NOT TAVLIX_BUILD_FUZZERS)
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(LINKER:-z,relro,-z,now)
endif()
