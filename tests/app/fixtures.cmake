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
