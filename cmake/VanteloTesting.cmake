# One helper to add a GoogleTest program:
#   vantelo_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>]
#                    [LAUNCHER <program>])
# The program is registered with CTest under its own name; LABELS lets a
# sanitizer run pick a subset (for example the "spine" label). LAUNCHER runs
# the program through another (for example umockdev-wrapper).
include_guard(GLOBAL)
enable_testing()
find_package(GTest REQUIRED)

function(vantelo_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT;LAUNCHER" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(T_LAUNCHER)
    add_test(NAME ${T_NAME} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_MEDIA_BACKEND=gstreamer;LANG=C.UTF-8;LC_ALL=;LC_MESSAGES=")
  # The programs speak the source language (Korean) unless a test chooses.
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
    # tests_<label> builds just the programs of one label (sanitizer runs).
    foreach(label IN LISTS T_LABELS)
      if(NOT TARGET tests_${label})
        add_custom_target(tests_${label})
      endif()
      add_dependencies(tests_${label} ${T_NAME})
    endforeach()
  endif()
endfunction()
