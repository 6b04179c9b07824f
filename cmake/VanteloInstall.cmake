# The shared libraries are the programs' own (none has a version; libtrc.so
# is loaded by name): they go to a private folder, found through a RUNPATH
# relative to the binary, so one build runs from /usr, /usr/local or
# ~/.local alike. On Debian the folder is the architecture's own
# (lib/x86_64-linux-gnu/vantelo), where packaged private libraries belong.
if(CMAKE_LIBRARY_ARCHITECTURE AND NOT CMAKE_INSTALL_LIBDIR MATCHES "${CMAKE_LIBRARY_ARCHITECTURE}")
  set(VANTELO_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/${CMAKE_LIBRARY_ARCHITECTURE}/vantelo)
else()
  set(VANTELO_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/vantelo)
endif()
file(RELATIVE_PATH _vantelo_bin_to_lib /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${VANTELO_INSTALL_LIBDIR})
set(CMAKE_INSTALL_RPATH "$ORIGIN/${_vantelo_bin_to_lib}")

# A shared library of the programs: into the private folder, finding the
# libraries beside it.
function(vantelo_install_library target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} LIBRARY DESTINATION ${VANTELO_INSTALL_LIBDIR})
endfunction()

# Files whose text names the installed programs' folder. The prefix may be
# given only at install time (`cmake --install build --prefix ...`), so they
# are written then: @VANTELO_BIN_DIR@ becomes the installed bin folder.
# DESTINATION is relative to the prefix; the file keeps TEMPLATE's name
# without ".in", or takes RENAME.
function(vantelo_install_configured)
  cmake_parse_arguments(ARG "" "TEMPLATE;DESTINATION;RENAME;COMPONENT" "" ${ARGN})
  get_filename_component(template "${ARG_TEMPLATE}" ABSOLUTE)
  if(ARG_RENAME)
    set(name "${ARG_RENAME}")
  else()
    get_filename_component(name "${template}" NAME)
    string(REGEX REPLACE "\\.in$" "" name "${name}")
  endif()
  if(NOT ARG_COMPONENT)
    set(ARG_COMPONENT Unspecified)
  endif()
  install(CODE "
    set(VANTELO_BIN_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(out \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ARG_DESTINATION}/${name}\")
    configure_file(\"${template}\" \"\${out}\" @ONLY)
    message(STATUS \"Installing: \${out}\")
  " COMPONENT ${ARG_COMPONENT})
endfunction()

# A window program's desktop entry and its icon (SVG, any size).
function(vantelo_install_desktop_entry)
  cmake_parse_arguments(ARG "" "ENTRY;ICON" "" ${ARGN})
  vantelo_install_configured(TEMPLATE ${ARG_ENTRY}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
  install(FILES ${ARG_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    COMPONENT desktop)
endfunction()

# After the desktop files are in place, the desktop's caches learn of them
# (a staged install, DESTDIR, leaves that to whoever installs the stage).
function(vantelo_refresh_desktop_caches)
  install(CODE "
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
      set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
      find_program(update_mime update-mime-database)
      find_program(update_desktop update-desktop-database)
      if(update_mime AND EXISTS \"\${share}/mime/packages\")
        execute_process(COMMAND \${update_mime} \"\${share}/mime\" OUTPUT_QUIET ERROR_QUIET)
      endif()
      if(update_desktop AND EXISTS \"\${share}/applications\")
        execute_process(COMMAND \${update_desktop} \"\${share}/applications\"
                        OUTPUT_QUIET ERROR_QUIET)
      endif()
    endif()
  " COMPONENT desktop)
endfunction()
