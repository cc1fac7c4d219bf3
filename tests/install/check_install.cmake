# Installs a build into a fresh folder and checks what lands there: the program, which
# runs and shows its usage, and the desktop launcher that hands dropped files over.
# Arguments: -DBUILD_DIR=<build folder> -DPREFIX=<scratch folder> [-DVALIDATOR=<program>].
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(program "${PREFIX}/bin/termarium")
set(launcher "${PREFIX}/share/applications/termarium.desktop")
foreach(file IN ITEMS "${program}" "${launcher}")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The installed program starts on its own: no argument gives the usage and status 1.
execute_process(COMMAND "${program}" INPUT_FILE /dev/null
  RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(NOT result EQUAL 1 OR NOT output MATCHES "^Bitte die Spielplaene aller Mannschaften von ")
  message(FATAL_ERROR "installed program did not show its usage (status ${result}):\n${output}")
endif()

# Dropped files must arrive as arguments (%F) to a program running in a terminal.
file(STRINGS "${launcher}" entries)
foreach(entry IN ITEMS "[Desktop Entry]" "Type=Application" "Exec=termarium %F" "Terminal=true")
  if(NOT entry IN_LIST entries)
    message(FATAL_ERROR "launcher lacks the line '${entry}'")
  endif()
endforeach()

if(VALIDATOR)
  execute_process(COMMAND "${VALIDATOR}" "${launcher}" RESULT_VARIABLE result
    OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate rejects the launcher:\n${output}")
  endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
