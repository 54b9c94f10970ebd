# The test forms of the settings components, linked into the services test
# program as form resources by the same build step the program uses.
if(WIN32 AND TARGET services_tests)
  file(GLOB services_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/services/forms/*.dfm)
  kst_add_form_resources(services_tests ${services_test_forms})
  # Real windows under test: the harness pumps their messages and takes pictures.
  target_link_libraries(services_tests PRIVATE kst_test_harness)
endif()
