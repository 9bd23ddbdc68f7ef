# SPDX-License-Identifier: GPL-3.0-or-later
# Renders every sound source afresh and compares the result with the committed
# file, so a source edited without regenerating its asset is caught.
# Variables: TOOL, ART (art/sounds), SOURCE_DIR (repository root), WORK (scratch dir),
# EFFECTS (list of effect names).
file(MAKE_DIRECTORY ${WORK})
set(pairs)
foreach(effect IN LISTS EFFECTS)
  list(APPEND pairs "effect|${ART}/effects/${effect}.sfx|${SOURCE_DIR}/assets/SOUND/${effect}.WAV")
endforeach()
list(APPEND pairs "score|${ART}/music/001.score|${SOURCE_DIR}/assets/MUSIC/001.MID"
                  "score|${ART}/music/short.score|${SOURCE_DIR}/tests/audio/fixtures/short.mid")

set(stale)
foreach(pair IN LISTS pairs)
  string(REPLACE "|" ";" parts "${pair}")
  list(GET parts 0 mode)
  list(GET parts 1 source)
  list(GET parts 2 committed)
  get_filename_component(name ${committed} NAME)
  execute_process(COMMAND ${TOOL} ${mode} ${source} ${WORK}/${name} RESULT_VARIABLE failed)
  if(failed)
    message(SEND_ERROR "${source} does not render")
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name} ${committed} RESULT_VARIABLE differs)
  if(differs)
    list(APPEND stale ${committed})
  endif()
endforeach()
if(stale)
  list(JOIN stale "\n  " listing)
  message(FATAL_ERROR "These files differ from what their sources in art/sounds render:\n  ${listing}\n"
                      "Regenerate them with: cmake --build <build dir> --target sounds")
endif()
