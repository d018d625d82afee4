# The technician's guide as one HTML file beside the executable (build/win/guide-ru.html), made on
# every build from docs/guide-ru.md, so that the copy handed out with the tool is the one the guide
# test holds to the tool's texts.
set(KQ_GUIDE_HTML ${CMAKE_BINARY_DIR}/guide-ru.html)
add_custom_command(
  OUTPUT ${KQ_GUIDE_HTML}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/guide_html.py ${CMAKE_SOURCE_DIR}/docs/guide-ru.md
          ${KQ_GUIDE_HTML}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/guide_html.py ${CMAKE_SOURCE_DIR}/docs/guide-ru.md
  COMMENT "Making the technician's guide guide-ru.html"
  VERBATIM)
add_custom_target(kq_guide ALL DEPENDS ${KQ_GUIDE_HTML})
