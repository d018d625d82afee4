# The Win32 layer and the tool itself.
add_library(kq_win STATIC
  app/executable_dir_win.cpp
  app/file_places_win.cpp
  app/file_write_win.cpp
  app/notice_win.cpp
  app/common_controls_win.cpp
  app/system_library_win.cpp
  app/text_win.cpp
  app/version_info_win.cpp
  drives/drive_source_win.cpp
  firmware/cng_sha256_win.cpp
  firmware/payloads_win.cpp
  firmware/transfer_files_win.cpp
  widgets/accessible_win.cpp
  widgets/dc_surface_win.cpp
  widgets/dpi_win.cpp
  widgets/face_buffer_win.cpp
  widgets/flat_combo_box_win.cpp
  widgets/hot_button_win.cpp
  widgets/image_button_win.cpp
  widgets/parent_background_win.cpp
  widgets/system_color_scheme_win.cpp
)
target_compile_definitions(kq_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
# Only Windows' known system libraries are imported; the others are loaded from the system
# folder at run time (app/system_library_win.h).
target_link_libraries(kq_win PUBLIC kq_core oleaut32)

add_executable(RU_ZadorazUdizav WIN32
  app/app.rc
  app/application_window_win.cpp
  app/main_form_win.cpp
  app/main_win.cpp
  app/taskbar_progress_win.cpp
  changelog/show_change_log_win.cpp
  firmware/embedded_integrity_win.cpp
  firmware/firmware_writer_win.cpp
  firmware/write_firmware_set_win.cpp
)
set_source_files_properties(app/app.rc PROPERTIES OBJECT_DEPENDS "${KQ_EMBEDDED_FILES}")
target_include_directories(RU_ZadorazUdizav PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/payloads)
# Address-space layout randomisation with high entropy and no code run from data pages, said
# outright rather than left to the linker's defaults; no link time in the file, so that the same
# inputs give the same bytes.
target_link_options(RU_ZadorazUdizav PRIVATE -municode -s
                    -Wl,--dynamicbase,--high-entropy-va,--nxcompat,--no-insert-timestamp)
target_link_libraries(RU_ZadorazUdizav PRIVATE kq_win shell32 ole32)
add_dependencies(RU_ZadorazUdizav kq_payloads)
# Started from a stick or a share, the whole image is copied into memory: the payloads checked at
# start stay the bytes written, whatever becomes of the stick. The linker has no option for it.
add_custom_command(TARGET RU_ZadorazUdizav POST_BUILD
                   COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/run_from_swap.py
                           $<TARGET_FILE:RU_ZadorazUdizav>
                   VERBATIM)
