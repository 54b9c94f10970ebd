# The tree control's test form, linked into its test program as a form
# resource by the same build step the program uses; the Windows tests drive
# windows through the test harness.
if(WIN32 AND TARGET livetree_tests)
  file(GLOB livetree_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/livetree/forms/*.dfm)
  kst_add_form_resources(livetree_tests ${livetree_test_forms})
  target_link_libraries(livetree_tests PRIVATE kst_test_harness)
endif()
