# The editor's test form, linked into the test program as a form resource by
# the same build step the program uses.
if(WIN32 AND TARGET codeedit_tests)
  file(GLOB codeedit_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/codeedit/forms/*.dfm)
  kst_add_form_resources(codeedit_tests ${codeedit_test_forms})
endif()
