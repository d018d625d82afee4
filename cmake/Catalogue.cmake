# Reads the firmware set's table, firmware/catalogue.txt, for the C++ catalogue and the resource
# script: KQ_CATALOGUE_PAYLOADS lists the payload names in the order they are written,
# KQ_CATALOGUE_TABLES those of the language tables and KQ_CATALOGUE_IMAGES those of the images.
set(KQ_CATALOGUE ${CMAKE_SOURCE_DIR}/firmware/catalogue.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KQ_CATALOGUE})
file(STRINGS ${KQ_CATALOGUE} kq_catalogue_rows REGEX "^[^#]")
set(KQ_CATALOGUE_PAYLOADS)
set(KQ_CATALOGUE_TABLES)
set(kq_catalogue_cpp "// Made by the build from firmware/catalogue.txt. Not to be edited.\n")
foreach(row IN LISTS kq_catalogue_rows)
  if(NOT row MATCHES "^([^ ]+) +([^ ]+) +[^ ]+ +([^ ]+)")
    message(FATAL_ERROR "${KQ_CATALOGUE}: a row needs a payload name, a file name, a family and a kind: ${row}")
  endif()
  list(APPEND KQ_CATALOGUE_PAYLOADS ${CMAKE_MATCH_1})
  if(CMAKE_MATCH_3 STREQUAL "languages")
    list(APPEND KQ_CATALOGUE_TABLES ${CMAKE_MATCH_1})
  endif()
  string(APPEND kq_catalogue_cpp "{\"${CMAKE_MATCH_1}\", \"${CMAKE_MATCH_2}\"},\n")
endforeach()
set(KQ_CATALOGUE_IMAGES ${KQ_CATALOGUE_PAYLOADS})
list(REMOVE_ITEM KQ_CATALOGUE_IMAGES ${KQ_CATALOGUE_TABLES})
# Rewritten only when it changes, so that a new configure step recompiles nothing.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/catalogue/catalogue_entries.inc
     CONTENT "${kq_catalogue_cpp}" @ONLY)
