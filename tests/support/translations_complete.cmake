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
# English keeps the sources' texts; only the counted ones need their forms in the plurals file.
configure_file(${PLURALS} ${WORK}/plurals.ts COPYONLY)
execute_process(COMMAND ${LUPDATE} -silent -no-obsolete -locations none -pluralonly ${SOURCES} -ts ${WORK}/plurals.ts
                RESULT_VARIABLE result)
file(READ ${WORK}/plurals.ts plurals)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n\r\t]*<translation type=\"unfinished\"" missing "${plurals}")
list(LENGTH missing count)
if(NOT result EQUAL 0 OR count GREATER 0)
  message(FATAL_ERROR "${count} counted texts without their English forms: ${missing}")
endif()
message(STATUS "every text has its translation")
