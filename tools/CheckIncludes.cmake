# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a subsystem of src/ includes a header of one it may not use:
#   platform   includes only platform
#   scene      includes platform and scene
#   colouring, gallery, feedback, audio, panels include platform, scene and
#              themselves, never each other
#   shell      includes everything, and nothing includes shell
# Usage: cmake -DSOURCE_DIR=<repo>/src -P tools/CheckIncludes.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckIncludes.cmake needs -DSOURCE_DIR=<the src directory>")
endif()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(siblings colouring gallery feedback audio panels)
set(subsystems platform scene ${siblings} shell)

set(allowed_platform platform)
set(allowed_scene platform scene)
foreach(sibling IN LISTS siblings)
  set(allowed_${sibling} platform scene ${sibling})
endforeach()
set(allowed_shell ${subsystems})

set(problems "")
foreach(subsystem IN LISTS subsystems)
  file(GLOB_RECURSE files LIST_DIRECTORIES false
       "${SOURCE_DIR}/${subsystem}/*.h" "${SOURCE_DIR}/${subsystem}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
      if(NOT target IN_LIST subsystems)
        continue()
      endif()
      if(NOT target IN_LIST allowed_${subsystem})
        file(RELATIVE_PATH where "${SOURCE_DIR}" "${file}")
        string(STRIP "${line}" line)
        string(REPLACE ";" ", " allowed "${allowed_${subsystem}}")
        string(APPEND problems "  src/${where}: ${line}  (${subsystem} may include only: ${allowed})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR
          "Include order broken: scene <- colouring, gallery, feedback, audio, panels <- shell.\n"
          "Siblings reach each other through a hook of scene/SceneContext.h instead.\n${problems}")
endif()
