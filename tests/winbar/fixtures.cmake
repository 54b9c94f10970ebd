# The test forms of the window bar, linked into its test program as form
# resources by the same build step the program uses.
if(WIN32 AND TARGET winbar_tests)
  file(GLOB winbar_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/winbar/win32/forms/*.dfm)
  kst_add_form_resources(winbar_tests ${winbar_test_forms})
endif()
