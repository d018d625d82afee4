# The Win32 layer and the tool itself.
add_library(kq_win STATIC
  app/system_menu_win.cpp
  base/common_controls_win.cpp
  base/executable_dir_win.cpp
  base/file_places_win.cpp
  base/file_write_win.cpp
  base/notice_win.cpp
  base/system_library_win.cpp
  base/text_win.cpp
  base/unwaited_thread_win.cpp
  base/version_info_win.cpp
  drives/drive_source_win.cpp
  firmware/cng_sha256_win.cpp
  firmware/payloads_win.cpp
  firmware/transfer_files_win.cpp
  journal/user_folders_win.cpp
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
# folder at run time (base/system_library_win.h).
target_link_libraries(kq_win PUBLIC kq_core oleaut32 shell32 ole32 uuid)

# What an image of the tool tells the loader besides randomisation and DEP depends on its machine.
# A 32-bit image may use the addresses above 2 GB that 64-bit Windows gives it; and, as GNU ld
# writes no table of safe exception handlers, it says it has none at all (nothing linked registers
# one: GCC unwinds with DWARF tables), so that the system refuses any handler address in it that an
# overwritten stack would offer. High-entropy randomisation exists for 64-bit images only.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KQ_IMAGE_LINK_FLAGS --large-address-aware,--no-seh)
else()
  set(KQ_IMAGE_LINK_FLAGS --high-entropy-va)
endif()

# Everything of the tool but what it embeds, compiled once for every executable made of it.
add_library(kq_tool OBJECT
  app/application_window_win.cpp
  app/main_form_layout_win.cpp
  app/main_form_win.cpp
  app/main_form_work_win.cpp
  app/main_win.cpp
  app/taskbar_progress_win.cpp
  app/worker_win.cpp
  changelog/show_change_log_win.cpp
  firmware/firmware_writer_win.cpp
  firmware/stick_check_win.cpp
  firmware/write_firmware_set_win.cpp
  journal/journal_facts_win.cpp
  journal/journal_file_win.cpp
  journal/journaled_notice_win.cpp
)
target_link_libraries(kq_tool PUBLIC kq_win)
target_precompile_headers(kq_tool PRIVATE <windows.h> ${KQ_STANDARD_HEADERS})

# kq_add_tool(NAME PAYLOADS): the tool, embedding what the target PAYLOADS of kq_embed_payloads
# made. Only the resources and the recorded digests are compiled for it. The resources' dependencies
# are a property of app.rc in the calling folder: one tool a folder.
function(kq_add_tool name payloads)
  get_target_property(generated ${payloads} KQ_GENERATED_DIR)
  get_target_property(embedded ${payloads} KQ_EMBEDDED_FILES)
  add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/app/app.rc
                 ${CMAKE_SOURCE_DIR}/firmware/embedded_integrity_win.cpp)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/app/app.rc PROPERTIES
                              OBJECT_DEPENDS "${embedded};${KQ_APP_RESOURCES}")
  target_include_directories(${name} PRIVATE ${generated} ${CMAKE_BINARY_DIR}/generated/app ${KQ_PAYLOAD_DIR})
  # Address-space layout randomisation and no code run from data pages, said outright rather than
  # left to the linker's defaults; no link time in the file, so that the same inputs give the same
  # bytes.
  # The link map tells where its code ends and the tables of its exception handling, which the
  # linker puts in the code section too, begin.
  target_link_options(${name} PRIVATE -municode -s
                      -Wl,--dynamicbase,--nxcompat,--no-insert-timestamp,${KQ_IMAGE_LINK_FLAGS}
                      -Wl,-Map=${CMAKE_BINARY_DIR}/generated/${name}.map)
  target_link_libraries(${name} PRIVATE kq_tool shell32 ole32)
  add_dependencies(${name} ${payloads})
  # Started from a stick or a share, the whole image is copied into memory: the payloads checked
  # at start stay the bytes written, whatever becomes of the stick. The linker has no option for it.
  add_custom_command(TARGET ${name} POST_BUILD
                     COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/run_from_swap.py
                             $<TARGET_FILE:${name}>
                     VERBATIM)
endfunction()

kq_add_tool(RU_ZadorazUdizav kq_payloads)

# What the tool was built from, written after every build, as the tree's state may change without
# any input changing: BUILDINFO.txt beside the executable.
get_target_property(kq_inputs kq_payloads KQ_INPUT_FILES)
list(TRANSFORM kq_inputs PREPEND --input=)
set(kq_options)
foreach(option CMAKE_BUILD_TYPE CMAKE_TOOLCHAIN_FILE KQ_FIRMWARE_DIR KQ_CHANGES_PDF)
  list(APPEND kq_options "--option=${option}=${${option}}")
endforeach()
if(KQ_SOURCE_DIRTY)
  list(APPEND kq_options --dirty)
endif()
add_custom_target(kq_build_info ALL
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/build_info.py ${CMAKE_BINARY_DIR}/BUILDINFO.txt
          --sources ${CMAKE_SOURCE_DIR} --executable $<TARGET_FILE:RU_ZadorazUdizav>
          "--commit=${KQ_SOURCE_COMMIT}"
          --set-digest ${CMAKE_BINARY_DIR}/generated/firmware_set_digest.txt ${kq_options} ${kq_inputs}
  BYPRODUCTS ${CMAKE_BINARY_DIR}/BUILDINFO.txt
  COMMENT "Recording what the tool was built from in BUILDINFO.txt"
  VERBATIM)
add_dependencies(kq_build_info RU_ZadorazUdizav)
