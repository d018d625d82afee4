# Decides which firmware images and which change log the executable embeds and makes the resource
# script that names them.
# The system's Python, which has Debian's cairo bindings for typesetting the change log.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(KQ_PAYLOAD_DIR ${CMAKE_SOURCE_DIR}/payloads)

# kq_embed_payloads(TARGET OUT FIRMWARE CHANGE_LOG): makes in the folder OUT what an executable
# needs to embed the images of the folder FIRMWARE (one file a payload name), the language tables
# of payloads/ and the PDF CHANGE_LOG: the resource script payloads.rc, the SHA-256 of every
# payload, compiled into the tool so that it can tell a damaged copy of itself, one line with the
# digest of the whole set, which scripts/build.sh shows, and stand_in_mark.h, with which the
# version resource says whether any of it is a stand-in. TARGET makes them; its properties
# KQ_GENERATED_DIR, KQ_EMBEDDED_FILES and KQ_INPUT_FILES say where they are, which files the
# resource script reads and which of those are the payloads.
function(kq_embed_payloads target out firmware change_log)
  set(resources "")
  set(embedded)
  foreach(payload IN LISTS KQ_CATALOGUE_PAYLOADS)
    if(payload IN_LIST KQ_CATALOGUE_TABLES)
      set(file ${KQ_PAYLOAD_DIR}/${payload})
    else()
      set(file ${firmware}/${payload})
    endif()
    string(APPEND resources "${payload} RCDATA \"${file}\"\n")
    list(APPEND embedded ${file})
  endforeach()
  list(APPEND embedded ${change_log})
  configure_file(${KQ_PAYLOAD_DIR}/payloads.rc.in ${out}/payloads.rc @ONLY)
  set(catalogue ${KQ_CATALOGUE} ${CMAKE_SOURCE_DIR}/firmware/catalogue.py)
  add_custom_command(
    OUTPUT ${out}/recorded_digests.h ${out}/firmware_set_digest.txt
    COMMAND Python3::Interpreter ${KQ_PAYLOAD_DIR}/record_digests.py ${out}/recorded_digests.h
            ${out}/firmware_set_digest.txt ${firmware} ${KQ_PAYLOAD_DIR} ${change_log}
    DEPENDS ${KQ_PAYLOAD_DIR}/record_digests.py ${catalogue} ${embedded}
    COMMENT "Recording the SHA-256 of every embedded payload")
  add_custom_command(
    OUTPUT ${out}/stand_in_mark.h
    COMMAND Python3::Interpreter ${KQ_PAYLOAD_DIR}/stand_in_mark.py ${out}/stand_in_mark.h
            ${firmware} ${change_log}
    DEPENDS ${KQ_PAYLOAD_DIR}/stand_in_mark.py ${KQ_PAYLOAD_DIR}/generate_payloads.py
            ${CMAKE_SOURCE_DIR}/changelog/make_change_log_pdf.py ${catalogue} ${embedded}
    COMMENT "Marking the version resource if the build carries stand-ins")
  add_custom_target(${target} DEPENDS ${out}/recorded_digests.h ${out}/stand_in_mark.h)
  set_target_properties(${target} PROPERTIES KQ_GENERATED_DIR ${out} KQ_INPUT_FILES "${embedded}"
                        KQ_EMBEDDED_FILES "${embedded};${out}/payloads.rc;${out}/stand_in_mark.h")
endfunction()

if(KQ_FIRMWARE_DIR)
  set(KQ_FIRMWARE_SOURCE ${KQ_FIRMWARE_DIR})
  foreach(name IN LISTS KQ_CATALOGUE_IMAGES)
    if(NOT EXISTS ${KQ_FIRMWARE_SOURCE}/${name})
      message(FATAL_ERROR "KQ_FIRMWARE_DIR lacks the image ${name}")
    endif()
  endforeach()
  message(STATUS "Embedding the firmware images from ${KQ_FIRMWARE_SOURCE}")
else()
  set(KQ_FIRMWARE_SOURCE ${CMAKE_BINARY_DIR}/standin-firmware)
  message(STATUS "Embedding STAND-IN firmware images (test data, not firmware); "
                 "set KQ_FIRMWARE_DIR to embed the real ones")
  set(kq_image_files ${KQ_CATALOGUE_IMAGES})
  list(TRANSFORM kq_image_files PREPEND ${KQ_FIRMWARE_SOURCE}/)
  add_custom_command(
    OUTPUT ${kq_image_files}
    COMMAND Python3::Interpreter ${KQ_PAYLOAD_DIR}/generate_payloads.py standins ${KQ_FIRMWARE_SOURCE}
    DEPENDS ${KQ_PAYLOAD_DIR}/generate_payloads.py ${KQ_CATALOGUE} ${CMAKE_SOURCE_DIR}/firmware/catalogue.py
    COMMENT "Making the stand-in firmware images")
endif()
# The change log: a real document given to the build, or else a sample typeset from the text
# written for the repository, which says on every page that it is one.
if(KQ_CHANGES_PDF)
  if(NOT EXISTS ${KQ_CHANGES_PDF})
    message(FATAL_ERROR "KQ_CHANGES_PDF: no file ${KQ_CHANGES_PDF}")
  endif()
  file(READ ${KQ_CHANGES_PDF} kq_changes_magic LIMIT 5 HEX)
  if(NOT kq_changes_magic STREQUAL "255044462d")  # "%PDF-"
    message(FATAL_ERROR "KQ_CHANGES_PDF: ${KQ_CHANGES_PDF} is no PDF document (it does not start with %PDF-)")
  endif()
  set(KQ_CHANGES_DOCUMENT ${KQ_CHANGES_PDF})
  message(STATUS "Embedding the change log ${KQ_CHANGES_DOCUMENT}")
else()
  set(KQ_CHANGES_DOCUMENT ${CMAKE_BINARY_DIR}/generated/Changes.pdf)
  add_custom_command(
    OUTPUT ${KQ_CHANGES_DOCUMENT}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/changelog/make_change_log_pdf.py
            ${KQ_PAYLOAD_DIR}/Changes.txt ${KQ_CHANGES_DOCUMENT}
    DEPENDS ${CMAKE_SOURCE_DIR}/changelog/make_change_log_pdf.py ${KQ_PAYLOAD_DIR}/Changes.txt
    COMMENT "Typesetting the sample change log")
  message(STATUS "Embedding a SAMPLE change log (typeset from payloads/Changes.txt, not the "
                 "product's list of changes); set KQ_CHANGES_PDF to embed the real one")
endif()

kq_embed_payloads(kq_payloads ${CMAKE_BINARY_DIR}/generated ${KQ_FIRMWARE_SOURCE} ${KQ_CHANGES_DOCUMENT})
configure_file(${CMAKE_SOURCE_DIR}/app/version.h.in ${CMAKE_BINARY_DIR}/generated/app/version.h @ONLY)
# The manifest names the machine the tool is built for, as Windows checks it against the image.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KQ_MANIFEST_ARCHITECTURE x86)
else()
  set(KQ_MANIFEST_ARCHITECTURE amd64)
endif()
configure_file(${CMAKE_SOURCE_DIR}/app/app.manifest.in ${CMAKE_BINARY_DIR}/generated/app/app.manifest @ONLY)

# What app.rc reads besides the payloads: the version, the texts, the manifest, the icon and the
# information button's pictures, three states at each display scale.
set(KQ_APP_RESOURCES
  ${CMAKE_BINARY_DIR}/generated/app/version.h
  ${CMAKE_SOURCE_DIR}/base/texts.h
  ${CMAKE_BINARY_DIR}/generated/app/app.manifest
  ${KQ_PAYLOAD_DIR}/MainIcon.ico)
foreach(size 32 40 48 56 64 80 96)
  foreach(state Up Hot Down)
    list(APPEND KQ_APP_RESOURCES ${KQ_PAYLOAD_DIR}/Btn${state}${size}.bmp)
  endforeach()
endforeach()
