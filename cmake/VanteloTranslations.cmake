# Qt Linguist catalogs of a program:
#   vantelo_add_translations(TARGET <target> CATALOG <name> SOURCES <files...>)
# The catalog's file <folder>/translations/<name>_en.ts lives in the tree
# (Korean source texts, English translations); lrelease builds its .qm into
# the target as the resource ":/i18n/<name>_en.qm", which vt::i18n loads.
# `cmake --build build --target update_translations` brings every .ts up to
# date with the sources (new texts arrive unfinished, for a translator).
include_guard(GLOBAL)
find_package(Qt6 REQUIRED COMPONENTS Core LinguistTools)

function(vantelo_add_translations)
  cmake_parse_arguments(T "" "TARGET;CATALOG" "SOURCES" ${ARGN})
  set(ts ${CMAKE_CURRENT_SOURCE_DIR}/translations/${T_CATALOG}_en.ts)
  set(sources "")
  foreach(source IN LISTS T_SOURCES)
    get_filename_component(absolute ${source} ABSOLUTE)
    list(APPEND sources ${absolute})
  endforeach()
  # Our own rules rather than qt_add_translations: Qt 6.4's would also
  # "create" the .ts in a fresh build folder, emptying the translations.
  set(lupdate_options -source-language ko -target-language en -locations none)
  set(qm ${CMAKE_CURRENT_BINARY_DIR}/i18n/${T_CATALOG}_en.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
    DEPENDS ${ts} VERBATIM)
  qt_add_resources(${T_TARGET} ${T_CATALOG}_translations PREFIX /i18n
    BASE ${CMAKE_CURRENT_BINARY_DIR}/i18n FILES ${qm})
  add_custom_target(${T_CATALOG}_lupdate
    COMMAND Qt6::lupdate ${lupdate_options} ${sources} -ts ${ts} VERBATIM)
  if(NOT TARGET update_translations)
    add_custom_target(update_translations)
  endif()
  add_dependencies(update_translations ${T_CATALOG}_lupdate)
  # The translation check reads every catalog and the sources it covers.
  string(REPLACE ";" "," joined "${sources}")
  set_property(GLOBAL APPEND PROPERTY VANTELO_TS_CATALOGS "${ts}|${joined}")
endfunction()

# After every folder: the test that every catalog is complete and current.
function(vantelo_translation_checks)
  get_property(catalogs GLOBAL PROPERTY VANTELO_TS_CATALOGS)
  if(NOT catalogs OR NOT TARGET vti18n)
    return()
  endif()
  string(REPLACE ";" "\n" lines "${catalogs}")
  set(manifest ${CMAKE_BINARY_DIR}/i18n/catalogs.txt)
  file(WRITE ${manifest} "${lines}\n")
  vantelo_add_test(NAME i18n_catalog_tests
    SOURCES ${PROJECT_SOURCE_DIR}/i18n/tests/CatalogTest.cpp
    LIBS vttestsupport Qt6::Core)
  target_compile_definitions(i18n_catalog_tests PRIVATE
    VT_CATALOG_MANIFEST="${manifest}" VT_LUPDATE="$<TARGET_FILE:Qt6::lupdate>")
  # The programs' command lines in both languages.
  if(TARGET vanplay AND TARGET vanconv)
    vantelo_add_test(NAME i18n_command_line_tests
      SOURCES ${PROJECT_SOURCE_DIR}/i18n/tests/CommandLineLanguageTest.cpp LIBS vttestsupport)
    add_dependencies(i18n_command_line_tests vantelo vanplay vanconv tyctl vtdb)
  endif()
endfunction()
