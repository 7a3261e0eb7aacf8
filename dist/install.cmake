# Installing and packaging: the executable, the desktop entry, the AppStream
# metainfo, the icons and the licences in the usual places, and a Debian
# package built from the same rules by CPack.
include(GNUInstallDirs)

# The desktop entry's actions start the game with a grown-up's choices or
# open the settings for grown-ups; their names are the catalogues' texts, as
# the game's --help shows them. The application id and the minutes the
# desktop offers come from CMakeLists.txt.
function(zephyra_action_names source out_default out_translated)
  string(REPLACE "%1" "${ZEPHYRA_DESKTOP_MINUTES}" default "${source}")
  set(lines "")
  file(GLOB catalogues "${CMAKE_CURRENT_SOURCE_DIR}/translations/zephyra_*.ts")
  foreach(ts IN LISTS catalogues)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ts}")
    string(REGEX MATCH "zephyra_([a-z_A-Z]+)\\.ts$" _ "${ts}")
    set(lang "${CMAKE_MATCH_1}")
    file(READ "${ts}" text)
    if(NOT text MATCHES "<source>${source}</source>[ \t\r\n]*<translation>([^<]*)</translation>")
      message(FATAL_ERROR "${ts}: no finished translation of '${source}'")
    endif()
    set(name "${CMAKE_MATCH_1}")
    foreach(pair "&apos;|'" "&quot;|\"" "&lt;|<" "&gt;|>" "&amp;|&")
      string(REPLACE "|" ";" pair "${pair}")
      list(GET pair 0 entity)
      list(GET pair 1 character)
      string(REPLACE "${entity}" "${character}" name "${name}")
    endforeach()
    string(REPLACE "%1" "${ZEPHYRA_DESKTOP_MINUTES}" name "${name}")
    if(NOT name STREQUAL default)
      string(APPEND lines "Name[${lang}]=${name}\n")
    endif()
  endforeach()
  set(${out_default} "${default}" PARENT_SCOPE)
  string(REGEX REPLACE "\n$" "" lines "${lines}")
  set(${out_translated} "${lines}" PARENT_SCOPE)
endfunction()
zephyra_action_names("Play with child lock" ZEPHYRA_LOCK_ACTION ZEPHYRA_LOCK_ACTION_NAMES)
zephyra_action_names("Play for %1 minutes" ZEPHYRA_MINUTES_ACTION ZEPHYRA_MINUTES_ACTION_NAMES)
zephyra_action_names("Easy play" ZEPHYRA_EASY_ACTION ZEPHYRA_EASY_ACTION_NAMES)
zephyra_action_names("Settings for grown-ups" ZEPHYRA_GROWN_UPS_ACTION ZEPHYRA_GROWN_UPS_ACTION_NAMES)

set(ZEPHYRA_DESKTOP_FILE "${CMAKE_CURRENT_BINARY_DIR}/${ZEPHYRA_APP_ID}.desktop")
set(ZEPHYRA_METAINFO_FILE "${CMAKE_CURRENT_BINARY_DIR}/${ZEPHYRA_APP_ID}.metainfo.xml")
configure_file(dist/zephyra.desktop.in "${ZEPHYRA_DESKTOP_FILE}" @ONLY)
configure_file(dist/zephyra.metainfo.xml.in "${ZEPHYRA_METAINFO_FILE}" @ONLY)
# The login screen's session "ZEPHYRA": the game alone under cage. It is
# listed only where cage is installed (TryExec), which the package suggests.
set(ZEPHYRA_SESSION_FILE "${CMAKE_CURRENT_BINARY_DIR}/wayland-sessions/${ZEPHYRA_APP_ID}.desktop")
configure_file(dist/zephyra-session.desktop.in "${ZEPHYRA_SESSION_FILE}" COPYONLY)

install(TARGETS zephyra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${ZEPHYRA_DESKTOP_FILE}" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${ZEPHYRA_METAINFO_FILE}" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${ZEPHYRA_SESSION_FILE}" DESTINATION ${CMAKE_INSTALL_DATADIR}/wayland-sessions)
file(GLOB _zephyra_icons CONFIGURE_DEPENDS assets/icons/zephyra-*.png)
foreach(icon IN LISTS _zephyra_icons)
  string(REGEX MATCH "zephyra-([0-9]+)\\.png$" _ "${icon}")
  set(side "${CMAKE_MATCH_1}")
  install(FILES "${icon}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps
          RENAME ${ZEPHYRA_APP_ID}.png)
endforeach()
install(FILES assets/icons/zephyra.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ZEPHYRA_APP_ID}.svg)
install(FILES LICENSE assets/fonts/LICENSE-terminus.txt assets/fonts/LICENSE-eurofurence.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian's machine-readable copyright file: the licence texts as its fields'
# continuation lines (each line indented, an empty one written " .").
function(_zephyra_licence_field file first last out)
  file(READ "${file}" whole)
  string(FIND "${whole}" "${first}" from)
  string(FIND "${whole}" "${last}" to)
  string(LENGTH "${last}" length)
  math(EXPR length "${to} + ${length} - ${from}")
  string(SUBSTRING "${whole}" ${from} ${length} whole)
  string(REPLACE ";" "\\;" whole "${whole}")
  string(REPLACE "\n" ";" lines "${whole}")
  set(text "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" stripped)
    if(stripped STREQUAL "" OR stripped MATCHES "^-+$")
      string(APPEND text " .\n")
    else()
      string(APPEND text " ${stripped}\n")
    endif()
  endforeach()
  string(REGEX REPLACE "\n$" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
_zephyra_licence_field(LICENSE "Permission is hereby" "DEALINGS IN THE\nSOFTWARE." ZEPHYRA_EXPAT_TEXT)
_zephyra_licence_field(assets/fonts/LICENSE-terminus.txt "SIL OPEN FONT LICENSE" "DEALINGS IN THE FONT SOFTWARE."
                       ZEPHYRA_OFL_TEXT)
set(ZEPHYRA_HOST "${_zephyra_host}")
configure_file(dist/copyright.in "${CMAKE_CURRENT_BINARY_DIR}/copyright" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/copyright" DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. dpkg-shlibdeps finds the libraries the executable links
# (Qt Core, Gui, Widgets, libpulse, libpng, libjpeg, the C++ runtime); the
# xcb platform plugin and the compose input method that Qt loads at run time
# come with libqt6gui6. What is loaded beyond that is named here:
# - The sounds play through libpulse, which needs a PulseAudio-protocol
#   server on the desktop (PulseAudio, or PipeWire's pipewire-pulse); without
#   one the game stays silent, hence a recommendation, not a must.
# - Qt's xcb plugin opens libXcursor at run time for themed pointers.
# - On a Wayland desktop the game runs through XWayland, which GNOME's and
#   KDE's Wayland sessions already depend on.
# - The login screen's session runs the game under cage, through XWayland.
#   Only a family that gives a child a computer of its own wants it, so the
#   package suggests them: an install brings no compositor and adds no entry
#   to every login screen, and the session's TryExec keeps it off the list
#   until a grown-up installs cage.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zephyra)
set(CPACK_PACKAGE_VENDOR "The ZEPHYRA developers")
set(CPACK_PACKAGE_CONTACT "The ZEPHYRA developers <developers@${_zephyra_host}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "balloon-popping game for young children")
set(CPACK_PACKAGE_DESCRIPTION "Balloons rise over a meadow; the child steers a cartoon wasp with the mouse
and pops them with its sting, by touch or by click. Two dot-matrix counters
keep score, and a prize picture with a fanfare appears after a chosen number
of pops. Parents set balloon and wasp size, speed, launch interval, pop mode,
prize and sound in the options.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZEPHYRA_WEB_ADDRESS}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialog's text needs a font with Latin and Cyrillic letters; the
# counters draw with their own.
set(ZEPHYRA_FONT_PACKAGE fonts-dejavu-core CACHE STRING "The package of the options dialog's font")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZEPHYRA_FONT_PACKAGE}")
# Gamepads: SDL is loaded only once one is plugged in, so dpkg-shlibdeps
# does not see it; without it the game plays on without gamepads.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, libxcursor1, libsdl2-2.0-0")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xwayland, cage")
# A package built on one release may need libraries that an older one lacks,
# so the package's version and file name say where it was built:
# zephyra_1.0-1~deb12_amd64.deb. "~" sorts before anything, and deb13 after
# deb12, so apt takes a newer release's build as an upgrade.
cmake_host_system_information(RESULT _zephyra_os_id QUERY DISTRIB_ID)
cmake_host_system_information(RESULT _zephyra_os_version QUERY DISTRIB_VERSION_ID)
cmake_host_system_information(RESULT _zephyra_os_codename QUERY DISTRIB_VERSION_CODENAME)
if(_zephyra_os_id STREQUAL "debian" AND _zephyra_os_version)
  set(_zephyra_os_tag "deb${_zephyra_os_version}")
elseif(_zephyra_os_version)
  set(_zephyra_os_tag "${_zephyra_os_id}${_zephyra_os_version}")
else()
  set(_zephyra_os_tag "${_zephyra_os_id}${_zephyra_os_codename}")  # testing and unstable have no number
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE "1~${_zephyra_os_tag}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The validators read the files as built; the package check builds the .deb,
# unpacks it and starts the installed game on the test's X display.
add_test(NAME dist_desktop_file COMMAND desktop-file-validate "${ZEPHYRA_DESKTOP_FILE}")
add_test(NAME dist_session_file COMMAND desktop-file-validate "${ZEPHYRA_SESSION_FILE}")
add_test(NAME dist_metainfo COMMAND appstreamcli validate --no-net --pedantic "${ZEPHYRA_METAINFO_FILE}")
set_tests_properties(dist_desktop_file dist_session_file dist_metainfo PROPERTIES FAIL_REGULAR_EXPRESSION "(error|warning): |[EW]: ")
add_test(NAME dist_package COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/tests/dist_package.sh" "${CMAKE_BINARY_DIR}")
set_tests_properties(dist_package PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)

# The dialog in every language with the package's font as the only font there
# is, as in a root where apt brought nothing else: its files, linked into one
# folder, are all fontconfig gets to see.
if(TARGET test_languages)
  set(_zephyra_one_font "${CMAKE_BINARY_DIR}/one-font")
  file(REMOVE_RECURSE "${_zephyra_one_font}")
  file(MAKE_DIRECTORY "${_zephyra_one_font}/fonts")
  execute_process(COMMAND dpkg-query -L ${ZEPHYRA_FONT_PACKAGE} OUTPUT_VARIABLE _zephyra_font_files)
  string(REGEX MATCHALL "[^\n]+\\.(ttf|otf)" _zephyra_font_files "${_zephyra_font_files}")
  foreach(_file ${_zephyra_font_files})
    get_filename_component(_name "${_file}" NAME)
    file(CREATE_LINK "${_file}" "${_zephyra_one_font}/fonts/${_name}" SYMBOLIC)
  endforeach()
  file(WRITE "${_zephyra_one_font}/fonts.conf" "<?xml version=\"1.0\"?>\n<fontconfig>\n"
    "  <dir>${_zephyra_one_font}/fonts</dir>\n  <cachedir>${_zephyra_one_font}/cache</cachedir>\n</fontconfig>\n")
  add_test(NAME dist_font COMMAND test_languages everyDialogLetterHasAGlyph)
  set_tests_properties(dist_font PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FONTCONFIG_FILE=${_zephyra_one_font}/fonts.conf")
endif()
