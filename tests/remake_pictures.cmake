# Runs the picture generator into OUT and compares every picture with the committed one in PAYLOADS.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${PYTHON} -B ${PAYLOADS}/generate_payloads.py pictures ${OUT}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the picture generator failed")
endif()
foreach(name BtnUp32.bmp BtnHot32.bmp BtnDown32.bmp MainIcon.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${PAYLOADS}/${name} ${OUT}/${name}
                  RESULT_VARIABLE differs)
  if(differs)
    message(SEND_ERROR "${name}: the generator makes other bytes than the committed file")
  else()
    message(STATUS "${name}: remade byte for byte")
  endif()
endforeach()
