# Fails when a quoted include names no file, or when a folder of the image library includes a
# folder above it. Windows-only sources are read too, so a moved header they still name shows
# here rather than only in the windows build. The load frame is at the bottom, the raster
# decoder and the SVG renderer stand on it side by side, and the exports (image/) on both:
#   cmake -DSOURCE_DIR=<repository> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)

set(forbidden_load image raster svg)
set(forbidden_raster image svg)
set(forbidden_svg image raster)

set(faults "")
file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.rc")
foreach(source ${sources})
  file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
  if(shown MATCHES "^(build|\\.git)[^/]*/")
    continue()
  endif()
  string(REGEX REPLACE "/.*" "" folder "${shown}")
  get_filename_component(here "${source}" DIRECTORY)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    # Quoted includes resolve beside the file first, then from the repository's top.
    if(EXISTS "${here}/${included}")
      get_filename_component(target "${here}/${included}" ABSOLUTE)
    elseif(EXISTS "${SOURCE_DIR}/${included}")
      get_filename_component(target "${SOURCE_DIR}/${included}" ABSOLUTE)
    else()
      string(APPEND faults "  ${shown} includes \"${included}\", which is not there\n")
      continue()
    endif()
    file(RELATIVE_PATH relative "${SOURCE_DIR}" "${target}")
    string(REGEX REPLACE "/.*" "" top "${relative}")
    if(DEFINED forbidden_${folder} AND top IN_LIST forbidden_${folder})
      string(APPEND faults "  ${shown} includes ${relative}: ${folder}/ must not reach ${top}/\n")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes that break the build or the folders' order:\n${faults}")
endif()
message(STATUS "every include names a file; load/ <- raster/, svg/ <- image/ hold")
