# Fails when a folder of the image library includes a folder above it. The load frame is at
# the bottom, the raster decoder and the SVG renderer stand on it side by side, and the
# exports (image/) stand on both:
#   cmake -DSOURCE_DIR=<repository> -P check_folder_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(forbidden_load image raster svg)
set(forbidden_raster image svg)
set(forbidden_svg image raster)

set(faults "")
foreach(folder load raster svg)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    get_filename_component(here "${source}" DIRECTORY)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      # Quoted includes resolve beside the file first, then from the repository's top.
      if(EXISTS "${here}/${included}")
        get_filename_component(target "${here}/${included}" ABSOLUTE)
      else()
        get_filename_component(target "${SOURCE_DIR}/${included}" ABSOLUTE)
      endif()
      file(RELATIVE_PATH relative "${SOURCE_DIR}" "${target}")
      string(REGEX REPLACE "/.*" "" top "${relative}")
      if(top IN_LIST forbidden_${folder})
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        string(APPEND faults "  ${shown} includes ${relative}: ${folder}/ must not reach ${top}/\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Folders included against their order:\n${faults}")
endif()
message(STATUS "load/ <- raster/, svg/ <- image/: no folder reaches above itself")
