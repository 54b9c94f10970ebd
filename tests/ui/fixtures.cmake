# The test forms of the window library, linked into its test program as form
# resources by the same build step the program uses.
if(WIN32 AND TARGET ui_tests)
  file(GLOB ui_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/forms/*.dfm)
  kst_add_form_resources(ui_tests ${ui_test_forms})
endif()
