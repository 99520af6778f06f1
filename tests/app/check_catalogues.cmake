# Run by CTest: lupdate, run on copies of the German catalogues over the sources, finds no
# text without a finished translation. Fails for a translated text added to the sources but
# not to the catalogue, and for one left unfinished there.
#   cmake -DLUPDATE=... -DSOURCE_DIR=... -DWORK_DIR=... -P check_catalogues.cmake
foreach(var LUPDATE SOURCE_DIR WORK_DIR)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "check_catalogues.cmake: ${var} is not set")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(failed "")
foreach(pair "mvp-host_de.ts:app host" "KavMCADVisProp_de.ts:library access restore templates menu")
  string(REPLACE ":" ";" parts "${pair}")
  list(GET parts 0 catalogue)
  list(GET parts 1 folders)
  separate_arguments(folders)
  file(COPY ${SOURCE_DIR}/translations/${catalogue} DESTINATION ${WORK_DIR})
  execute_process(COMMAND ${LUPDATE} -silent -tr-function-alias translate+=Kav::translate ${folders}
                          -ts ${WORK_DIR}/${catalogue}
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${catalogue} (${rc}): ${err}")
  endif()
  file(READ ${WORK_DIR}/${catalogue} text)
  # Each message without a finished translation, by its source text.
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<[^s/][^<]*)*<translation type=\"(unfinished|vanished|obsolete)\""
         open "${text}")
  foreach(m IN LISTS open)
    string(REGEX REPLACE "^<source>([^<]*)</source>.*$" "\\1" s "${m}")
    string(APPEND failed "\n  ${catalogue}: \"${s}\"")
  endforeach()
endforeach()
if(NOT failed STREQUAL "")
  message(FATAL_ERROR "texts without a finished German translation (run the mvp_update_translations target and translate them):${failed}")
endif()
