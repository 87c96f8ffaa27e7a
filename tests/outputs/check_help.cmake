# Checks the built ostrel.chm: its usage topic has every section, and its table of units has all
# 37 conversions and 109 spellings, with quotes, apostrophes and degree signs written as HTML.
# Usage: cmake -DCHM=path/ostrel.chm -DCHMLS=path/chmls -DWORK=dir -P check_help.cmake
file(MAKE_DIRECTORY ${WORK})
set(page ${WORK}/usage.htm)
file(REMOVE ${page})
execute_process(COMMAND ${CHMLS} extract ${CHM} /html/usage.htm ${page} OUTPUT_QUIET ERROR_QUIET)
if(NOT EXISTS ${page})
  message(FATAL_ERROR "${CHM} has no /html/usage.htm")
endif()
file(READ ${page} text)

set(missing "")
foreach(needed
    "<title>Using Ostrel</title>" "Feet and inches" "don't know" "The menu" "batch mode"
    "One window at a time" "<code>&quot;</code>, <code>in</code>" "<code>&#39;</code>, <code>feet</code>"
    "<td>&deg; F</td><td class=\"factor\">1.8</td>" "<td>&deg; C</td><td class=\"factor\">0.5555556</td>"
    "<td>oz</td><td class=\"factor\">0.00003527399</td>" "<code>hectaren</code>"
    "<code>km/h</code>, <code>kmh</code></td><td>mph</td>" "<table class=\"units\">")
  string(FIND "${text}" "${needed}" at)
  if(at EQUAL -1)
    list(APPEND missing "${needed}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "${CHM}: the usage topic lacks ${missing}")
endif()

string(FIND "${text}" "<table class=\"units\">" start)
string(SUBSTRING "${text}" ${start} -1 table)
string(FIND "${table}" "</table>" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "<code>" spellings "${table}")
string(REGEX MATCHALL "<td class=\"factor\">" rows "${table}")
list(LENGTH spellings spellingCount)
list(LENGTH rows rowCount)
if(NOT spellingCount EQUAL 109 OR NOT rowCount EQUAL 37)
  message(FATAL_ERROR "${CHM}: the table has ${rowCount} conversions and ${spellingCount} spellings")
endif()
message(STATUS "help file ok: 37 conversions, 109 spellings")
