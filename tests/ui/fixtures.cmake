# The test forms of the window library, linked into its test program as form
# resources by the same build step the program uses, and a bitmap resource.
if(WIN32 AND TARGET ui_tests)
  file(GLOB ui_test_forms CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/forms/*.dfm)
  kst_add_form_resources(ui_tests ${ui_test_forms})
  set(ui_probe ${CMAKE_SOURCE_DIR}/tests/ui/data/probe.bmp)
  set(ui_resources ${CMAKE_CURRENT_BINARY_DIR}/ui_test_resources.rc)
  file(WRITE ${ui_resources} "PROBE BITMAP \"${ui_probe}\"\n")
  target_sources(ui_tests PRIVATE ${ui_resources})
  set_source_files_properties(${ui_resources} PROPERTIES OBJECT_DEPENDS ${ui_probe})
endif()
# The inert components' test watches a socket of its own.
if(WIN32 AND TARGET ui_tests)
  target_link_libraries(ui_tests PRIVATE ws2_32)
endif()
