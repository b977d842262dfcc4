# Runs lupdate over the sources into a copy of the translation: a text with no finished translation
# shows as "unfinished" there.
file(MAKE_DIRECTORY ${WORK})
configure_file(${TS} ${WORK}/check.ts COPYONLY)
execute_process(COMMAND ${LUPDATE} -silent -no-obsolete -locations none ${SOURCES} -ts ${WORK}/check.ts
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed")
endif()
file(READ ${WORK}/check.ts translation)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n\r\t]*<translation type=\"unfinished\"" missing "${translation}")
list(LENGTH missing count)
if(count GREATER 0)
  message(FATAL_ERROR "${count} texts without a finished translation: ${missing}")
endif()
message(STATUS "every text has its translation")
