# Builds one code library file from the CodeTable schema and, optionally, a list
# of snippets. Run with cmake -P and:
#   SQLITE3   the sqlite3 program
#   SCHEMA    the .sql file that creates CodeTable
#   OUTPUT    the database file to write
#   MANIFEST  (optional) lines "file<TAB>title"; each file under SNIPPET_DIR is one snippet
#   SNIPPET_DIR
# A snippet file is a complete PHP file so that it can be checked with php -l; an
# opening "<?php" line of its own is left out of the stored text, because snippets
# are inserted into code that is already inside a PHP region.
# The database is written under a temporary name and moved into place at the end,
# so a failed build never leaves a half-filled library behind.

set(sql_file "${OUTPUT}.sql")
file(READ "${SCHEMA}" schema)
file(WRITE "${sql_file}" "${schema}\nBEGIN;\n")

if(MANIFEST)
  file(STRINGS "${MANIFEST}" lines ENCODING UTF-8)
  set(count 0)
  foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(FIND "${line}" "\t" tab)
    if(tab LESS 1)
      message(FATAL_ERROR "${MANIFEST}: expected \"file<TAB>title\": ${line}")
    endif()
    string(SUBSTRING "${line}" 0 ${tab} name)
    math(EXPR title_start "${tab} + 1")
    string(SUBSTRING "${line}" ${title_start} -1 title)
    set(path "${SNIPPET_DIR}/${name}")
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "${MANIFEST}: no snippet file ${name}")
    endif()
    file(READ "${path}" text)
    string(REGEX REPLACE "^<\\?php[ \t]*\r?\n" "" text "${text}")
    string(REPLACE "'" "''" text "${text}")
    string(REPLACE "'" "''" title "${title}")
    file(APPEND "${sql_file}"
      "INSERT INTO CodeTable([title],[text]) VALUES('${title}','${text}');\n")
    math(EXPR count "${count} + 1")
  endforeach()
endif()
file(APPEND "${sql_file}" "COMMIT;\n")

set(temp "${OUTPUT}.tmp")
file(REMOVE "${temp}")
execute_process(COMMAND "${SQLITE3}" -bail "${temp}" ".read '${sql_file}'"
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE "${temp}")
  message(FATAL_ERROR "sqlite3 failed for ${OUTPUT}: ${err}")
endif()
file(RENAME "${temp}" "${OUTPUT}")
file(REMOVE "${sql_file}")
