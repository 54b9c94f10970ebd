# The program's own forms, linked into the app test program as form
# resources by the same build step the program uses; its windows are driven
# under Wine.
if(WIN32 AND TARGET app_tests)
  file(GLOB app_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/forms/*.dfm)
  kst_add_form_resources(app_tests ${app_test_forms})
  target_link_libraries(app_tests PRIVATE kst_test_harness)
  # Files are dropped on the main window with the data object and drag
  # source of the services' window tests.
  target_sources(app_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/services/win32/servicesuitest.cpp)
  # The second-start test starts the program itself.
  add_dependencies(app_tests kestrum)
endif()

# A component package built here: a 32-bit library with the package
# information resources and class tables in a CODE section, as the IDE's
# compiler lays them out. The extraction tests skip without the cross tools.
find_program(app_gcc_32 i686-w64-mingw32-gcc)
find_program(app_windres_32 i686-w64-mingw32-windres)
if(WIN32 AND TARGET app_tests AND app_gcc_32 AND app_windres_32)
  set(app_fixture_dir ${CMAKE_BINARY_DIR}/fixtures/app)
  set(app_fixture_src ${CMAKE_SOURCE_DIR}/tests/app/fixtures)
  file(MAKE_DIRECTORY ${app_fixture_dir})
  add_custom_command(
    OUTPUT ${app_fixture_dir}/kstpkg.bpl
    COMMAND ${app_windres_32} ${app_fixture_src}/kstpkg.rc -O coff -o kstpkg.res
    COMMAND ${app_gcc_32} -O1 -s -shared -o kstpkg.bpl ${app_fixture_src}/kstpkg.c kstpkg.res
            -Wl,--no-insert-timestamp
    DEPENDS ${app_fixture_src}/kstpkg.c ${app_fixture_src}/kstpkg.rc
    WORKING_DIRECTORY ${app_fixture_dir}
    VERBATIM)
  add_custom_target(app_fixtures ALL DEPENDS ${app_fixture_dir}/kstpkg.bpl)
  add_dependencies(app_tests app_fixtures)
  string(REPLACE "/" "\\\\" app_fixture_dir_windows "Z:${app_fixture_dir}")
  target_compile_definitions(app_tests PRIVATE "KST_APP_FIXTURES=\"${app_fixture_dir_windows}\\\\\"")
endif()
