# The release, built by `cmake --workflow --preset release` into <build>/dist:
#   Termarium-<version>-win64.zip   termarium.exe with its icon and version, the browser page,
#                                   the German guide, the table stylesheet, the sample calendars
#   termarium_<version>_amd64.deb   made by CPack in the package step (below): the program,
#                                   its launcher and icons, guide, stylesheet, manual page
# Every piece is reproducible: the time stamps come from SOURCE_DATE_EPOCH (the last
# commit's time unless the environment sets it), the Windows program carries no PE time
# stamp, and no path of the build folder reaches a file.
find_program(TERMARIUM_CHROMIUM_PROGRAM chromium REQUIRED)
find_program(TERMARIUM_SOFFICE_PROGRAM soffice REQUIRED)
find_program(TERMARIUM_PDFTOPPM_PROGRAM pdftoppm REQUIRED)
if(NOT Python3_Interpreter_FOUND)
  message(FATAL_ERROR "the release needs python3")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TERMARIUM_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE TERMARIUM_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE git_result)
  if(NOT git_result EQUAL 0 OR TERMARIUM_SOURCE_DATE_EPOCH STREQUAL "")
    message(FATAL_ERROR "the release takes its time stamps from the last commit: no git history here, "
                        "so set SOURCE_DATE_EPOCH")
  endif()
endif()

set(release_dir ${CMAKE_BINARY_DIR}/release)
set(dist_dir ${CMAKE_BINARY_DIR}/dist)
set(release_tool ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/release.py)
set(bundle ${dist_dir}/Termarium-${PROJECT_VERSION}-win64.zip)
set(reproducible_flags "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${release_dir}=.")

# The Windows program and the browser page, each in a build of its own.
set(windows_build ${release_dir}/windows)
set(windows_program ${windows_build}/src/termarium.exe)
add_custom_target(release_windows
  COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} --preset windows -B ${windows_build}
    -DBUILD_TESTING=OFF -DTERMARIUM_HARDEN=ON "-DCMAKE_CXX_FLAGS=${reproducible_flags}"
    "-DCMAKE_EXE_LINKER_FLAGS_RELEASE=-Wl,--no-insert-timestamp"
  COMMAND ${CMAKE_COMMAND} --build ${windows_build} --target termarium
  BYPRODUCTS ${windows_program}
  COMMENT "Building the Windows program"
  VERBATIM)

set(web_build ${release_dir}/web)
set(web_page ${web_build}/web/termarium.html)
add_custom_target(release_web
  COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} --preset web -B ${web_build}
    "-DCMAKE_CXX_FLAGS=${reproducible_flags}"
  COMMAND ${CMAKE_COMMAND} --build ${web_build} --target web_page
  BYPRODUCTS ${web_page}
  COMMENT "Building the browser page"
  VERBATIM)

# The guide: a real run on the sample calendars, its pictures, the German text around them.
set(sample_dir ${release_dir}/sample)
set(pictures_dir ${release_dir}/pictures)
set(guide ${release_dir}/Anleitung.html)
set(stylesheet ${PROJECT_SOURCE_DIR}/web/termarium-tabelle.css)
# The run takes the release's time, so that the "Stand:" line of its outputs is the same
# in every build of one commit.
add_custom_command(OUTPUT ${sample_dir}/console.txt
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TERMARIUM_SOURCE_DATE_EPOCH}
    ${release_tool} sample $<TARGET_FILE:termarium> ${PROJECT_SOURCE_DIR}/examples ${sample_dir}
  DEPENDS termarium release.py
  COMMENT "Running the program on the sample calendars"
  VERBATIM)
add_custom_command(OUTPUT ${pictures_dir}/tabelle.png ${pictures_dir}/arbeitsmappe.png ${pictures_dir}/spieltage.png
  COMMAND ${release_tool} pictures ${sample_dir} ${stylesheet} ${pictures_dir}
  DEPENDS ${sample_dir}/console.txt ${stylesheet} release.py
  COMMENT "Taking the guide's pictures with Chromium and LibreOffice"
  VERBATIM)
add_custom_command(OUTPUT ${guide}
  COMMAND ${release_tool} guide ${CMAKE_CURRENT_SOURCE_DIR}/Anleitung.html ${sample_dir} ${pictures_dir}
    ${PROJECT_VERSION} ${guide}
  DEPENDS Anleitung.html ${pictures_dir}/tabelle.png ${pictures_dir}/arbeitsmappe.png ${pictures_dir}/spieltage.png
    release.py
  COMMENT "Writing the guide"
  VERBATIM)

# The Windows bundle.
file(GLOB sample_calendars RELATIVE ${PROJECT_SOURCE_DIR}/examples ${PROJECT_SOURCE_DIR}/examples/*.ics
  ${PROJECT_SOURCE_DIR}/examples/mehrere-sportarten/*.ics)
list(SORT sample_calendars)
set(bundle_entries
  ${windows_program}=termarium.exe
  ${web_page}=termarium.html
  ${guide}=Anleitung.html
  ${stylesheet}=termarium-tabelle.css)
foreach(calendar IN LISTS sample_calendars)
  list(APPEND bundle_entries ${PROJECT_SOURCE_DIR}/examples/${calendar}=Beispiele/${calendar})
endforeach()
add_custom_command(OUTPUT ${bundle}
  COMMAND ${release_tool} zip ${bundle} ${TERMARIUM_SOURCE_DATE_EPOCH} Termarium-${PROJECT_VERSION} ${bundle_entries}
  DEPENDS release_windows release_web ${guide} ${stylesheet} release.py
  COMMENT "Packing ${bundle}"
  VERBATIM)

# The Debian package's documentation: the guide, the stylesheet, copyright, changelog
# (a native package's is named changelog.gz) and the manual page.
set(debian_changelog ${release_dir}/changelog.gz)
set(manual_page ${release_dir}/termarium.1.gz)
add_custom_command(OUTPUT ${debian_changelog}
  COMMAND ${release_tool} changelog ${PROJECT_VERSION} ${TERMARIUM_SOURCE_DATE_EPOCH} ${debian_changelog}
  DEPENDS release.py
  VERBATIM)
add_custom_command(OUTPUT ${manual_page}
  COMMAND ${release_tool} compress ${CMAKE_CURRENT_SOURCE_DIR}/termarium.1 ${manual_page}
  DEPENDS termarium.1 release.py
  VERBATIM)
add_custom_target(release ALL DEPENDS ${bundle} ${guide} ${debian_changelog} ${manual_page})
include(GNUInstallDirs)
install(FILES ${guide} ${stylesheet} copyright ${debian_changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package, made by CPack in the workflow's package step.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME termarium)
set(CPACK_PACKAGE_VENDOR "Termarium-Autoren")
set(CPACK_PACKAGE_CONTACT "Termarium-Autoren <termarium@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one season schedule from the league calendars of a club's teams")
set(CPACK_PACKAGE_DESCRIPTION "Termarium reads the season schedules (iCalendar files) that the
regional league offers for each team of a sports club, works out which
of the club's teams each file belongs to and writes one combined
schedule: a spreadsheet workbook coloured by team, and an HTML table
for the club's web page. The files are dropped on the program's
launcher; the messages are in German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${dist_dir})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The launcher runs the program in a terminal, so that its messages and the wait for Enter show.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS x-terminal-emulator)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# CPack dates the archive entries from SOURCE_DATE_EPOCH, which this file sets inside cpack.
configure_file(cpack_project.cmake.in ${CMAKE_BINARY_DIR}/cpack_project.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack_project.cmake)
include(CPack)
