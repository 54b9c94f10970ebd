# The panel kit's test forms, linked into its test program as form resources
# by the same build step the program uses.
if(WIN32 AND TARGET panelkit_tests)
  file(GLOB panelkit_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/panelkit/forms/*.dfm)
  kst_add_form_resources(panelkit_tests ${panelkit_test_forms})
endif()
