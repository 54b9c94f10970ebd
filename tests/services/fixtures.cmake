# The test forms of the settings components, linked into the services test
# program as form resources by the same build step the program uses.
if(WIN32 AND TARGET services_tests)
  file(GLOB services_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/services/forms/*.dfm)
  kst_add_form_resources(services_tests ${services_test_forms})
  # Real windows under test: the harness pumps their messages and takes pictures.
  target_link_libraries(services_tests PRIVATE kst_test_harness)
endif()

# A small program built with the single-instance component, which the tests
# start as two processes.
if(WIN32 AND TARGET services_tests)
  add_executable(services_instance_probe ${CMAKE_SOURCE_DIR}/tests/services/probe/probe.cpp)
  target_link_libraries(services_instance_probe PRIVATE kst_services)
  kst_warnings(services_instance_probe)
  kst_platform_options(services_instance_probe)
  kst_add_form_resources(services_instance_probe ${CMAKE_SOURCE_DIR}/tests/services/probe/ProbeForm.dfm)
  # Beside the test program, which starts it from its own folder.
  set_target_properties(services_instance_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(services_tests services_instance_probe)
endif()

