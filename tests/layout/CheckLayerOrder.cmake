# Checks that the folders under SOURCE_DIR are layers with one direction: a file may
# include headers from its own folder and from folders earlier in LAYERS, never from a
# later one. A folder that is not in LAYERS is an error too, so a new subsystem has to
# be given its place before it builds.
#
#   cmake -DSOURCE_DIR=<dir> -P CheckLayerOrder.cmake
#
# platform/qt counts as platform: the first path component names the layer.

set(LAYERS
  platform common i18n controls diagnostics engine settings history
  collections completelist runs media update shell app cli)

file(REAL_PATH "${SOURCE_DIR}" SOURCE_DIR BASE_DIRECTORY "$ENV{PWD}")
if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "SOURCE_DIR is not a folder: '${SOURCE_DIR}'")
endif()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT files)
set(violations "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  list(FIND LAYERS "${folder}" rank)
  if(rank EQUAL -1)
    string(APPEND violations "  ${file}: folder '${folder}' has no place in the layer order\n")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" target "${header}")
    list(FIND LAYERS "${target}" target_rank)
    if(target_rank EQUAL -1)
      string(APPEND violations "  ${file} includes ${header}: '${target}' has no place in the layer order\n")
    elseif(target_rank GREATER rank)
      string(APPEND violations "  ${file} includes ${header}: '${target}' comes after '${folder}'\n")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN LAYERS " -> " order)
  message(FATAL_ERROR "Includes against the layer order ${order}:\n${violations}")
endif()
list(LENGTH files count)
message(STATUS "Layer order holds for ${count} files")
