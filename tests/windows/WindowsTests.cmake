# Tests of the Win32 adapters, run under Wine with the portable ones.
target_sources(kq_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/accessible_adapter_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/adapters_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dc_surface_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpi_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_payloads.rc
  ${CMAKE_CURRENT_LIST_DIR}/version_info_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine_drives.cpp)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/test_payloads.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/payloads/Languages;${CMAKE_SOURCE_DIR}/payloads/Languagess")
target_include_directories(kq_tests PRIVATE ${CMAKE_SOURCE_DIR}/payloads)
target_link_libraries(kq_tests PRIVATE kq_win)
