# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file of the project differs from what clang-format makes of
# it with the project's .clang-format, and names each such file.
# Usage: cmake -DSOURCE_DIR=<repo> -DCLANG_FORMAT=<clang-format> -P tools/CheckFormat.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR OR NOT CLANG_FORMAT)
  message(FATAL_ERROR "CheckFormat.cmake needs -DSOURCE_DIR=<the repository> and -DCLANG_FORMAT=<program>")
endif()

set(files "")
foreach(folder src tests bench tools fuzz)
  file(GLOB_RECURSE found LIST_DIRECTORIES false "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  list(APPEND files ${found})
endforeach()

# One run over every file: starting clang-format once per file cost minutes
# on a loaded machine. It names each file that differs, and goes on.
execute_process(COMMAND "${CLANG_FORMAT}" --style=file --dry-run -Werror ${files}
                WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE complaints)
set(unformatted "")
if(NOT status EQUAL 0)
  string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: error: code should be clang-formatted" lines "${complaints}")
  set(named "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error: .*" "" file "${line}")
    list(APPEND named "${file}")
  endforeach()
  list(REMOVE_DUPLICATES named)
  foreach(file IN LISTS named)
    file(RELATIVE_PATH where "${SOURCE_DIR}" "${file}")
    string(APPEND unformatted "  ${where}\n")
  endforeach()
  if(NOT unformatted)
    # clang-format failed in another way: say what it said.
    set(unformatted "  (clang-format: ${complaints})\n")
  endif()
endif()

list(LENGTH files count)
if(unformatted)
  message(FATAL_ERROR "Not formatted (run clang-format -i on them):\n${unformatted}")
endif()
message(STATUS "${count} files formatted")
