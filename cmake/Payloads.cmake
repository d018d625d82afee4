# Decides which firmware images and which change log the executable embeds and makes the resource
# script that names them.
# The system's Python, which has Debian's cairo bindings for typesetting the change log.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(KQ_PAYLOAD_DIR ${CMAKE_SOURCE_DIR}/payloads)
set(kq_image_names)
foreach(family "" "s")
  foreach(number RANGE 0 13)
    list(APPEND kq_image_names Firmware${number}${family})
  endforeach()
endforeach()

if(KQ_FIRMWARE_DIR)
  set(KQ_FIRMWARE_SOURCE ${KQ_FIRMWARE_DIR})
  foreach(name IN LISTS kq_image_names)
    if(NOT EXISTS ${KQ_FIRMWARE_SOURCE}/${name})
      message(FATAL_ERROR "KQ_FIRMWARE_DIR lacks the image ${name}")
    endif()
  endforeach()
  message(STATUS "Embedding the real firmware images from ${KQ_FIRMWARE_SOURCE}")
else()
  set(KQ_FIRMWARE_SOURCE ${CMAKE_BINARY_DIR}/standin-firmware)
  message(STATUS "Embedding STAND-IN firmware images (test data, not firmware); "
                 "set KQ_FIRMWARE_DIR to embed the real ones")
endif()

list(TRANSFORM kq_image_names PREPEND ${KQ_FIRMWARE_SOURCE}/ OUTPUT_VARIABLE kq_image_files)
if(NOT KQ_FIRMWARE_DIR)
  add_custom_command(
    OUTPUT ${kq_image_files}
    COMMAND Python3::Interpreter ${KQ_PAYLOAD_DIR}/generate_payloads.py standins ${KQ_FIRMWARE_SOURCE}
    DEPENDS ${KQ_PAYLOAD_DIR}/generate_payloads.py
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

# The SHA-256 of every embedded payload, compiled into the tool so that it can tell a damaged copy
# of itself, and one line with the digest of the whole set, which scripts/build.sh shows. The
# firmware set is listed in catalogue order (firmware/catalogue.cpp), as payloads.rc.in lists it.
set(kq_catalogue_payloads)
foreach(family "" "s")
  foreach(number RANGE 0 13)
    list(APPEND kq_catalogue_payloads Firmware${number}${family}=${KQ_FIRMWARE_SOURCE}/Firmware${number}${family})
  endforeach()
  list(APPEND kq_catalogue_payloads Languages${family}=${KQ_PAYLOAD_DIR}/Languages${family})
endforeach()
set(KQ_RECORDED_DIGESTS ${CMAKE_BINARY_DIR}/generated/recorded_digests.h)
set(KQ_SET_DIGEST_LINE ${CMAKE_BINARY_DIR}/generated/firmware_set_digest.txt)
add_custom_command(
  OUTPUT ${KQ_RECORDED_DIGESTS} ${KQ_SET_DIGEST_LINE}
  COMMAND Python3::Interpreter ${KQ_PAYLOAD_DIR}/record_digests.py ${KQ_RECORDED_DIGESTS}
          ${KQ_SET_DIGEST_LINE} ${KQ_CHANGES_DOCUMENT} ${kq_catalogue_payloads}
  DEPENDS ${KQ_PAYLOAD_DIR}/record_digests.py ${kq_image_files} ${KQ_PAYLOAD_DIR}/Languages
          ${KQ_PAYLOAD_DIR}/Languagess ${KQ_CHANGES_DOCUMENT}
  COMMENT "Recording the SHA-256 of every embedded payload")
add_custom_target(kq_payloads DEPENDS ${kq_image_files} ${KQ_CHANGES_DOCUMENT} ${KQ_RECORDED_DIGESTS})

configure_file(${KQ_PAYLOAD_DIR}/payloads.rc.in ${CMAKE_BINARY_DIR}/generated/payloads.rc @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/app/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/app/app.manifest.in ${CMAKE_BINARY_DIR}/generated/app.manifest @ONLY)

# The information button's pictures, three states at each display scale, as app.rc names them.
set(kq_button_pictures)
foreach(size 32 40 48 56 64 80 96)
  foreach(state Up Hot Down)
    list(APPEND kq_button_pictures ${KQ_PAYLOAD_DIR}/Btn${state}${size}.bmp)
  endforeach()
endforeach()

set(KQ_EMBEDDED_FILES
  ${kq_image_files}
  ${KQ_PAYLOAD_DIR}/Languages
  ${KQ_PAYLOAD_DIR}/Languagess
  ${KQ_CHANGES_DOCUMENT}
  ${KQ_PAYLOAD_DIR}/MainIcon.ico
  ${kq_button_pictures}
  ${CMAKE_BINARY_DIR}/generated/payloads.rc
  ${CMAKE_BINARY_DIR}/generated/version.h
  ${CMAKE_BINARY_DIR}/generated/app.manifest)
