# Runs the database builder on a table with a malformed row: the builder must
# fail, name the line, and leave neither the database nor a partial file.
#   cmake -DBUILDER=... -DSCHEMA=... -DWORK=<scratch dir> -P BuilderRefusesBadRows.cmake
# A scratch folder of this run's own, so that runs side by side in one build
# tree never clear each other's files.
get_filename_component(parent ${WORK} DIRECTORY)
file(MAKE_DIRECTORY ${parent})
execute_process(COMMAND mktemp -d ${WORK}.XXXXXX OUTPUT_VARIABLE WORK
  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "no scratch folder beside ${WORK}")
endif()
file(WRITE ${WORK}/bad.tsv "a\tb\tc\td\te\tf\n1\tT\tn\tn()\t0\t0\n2\tT\tm\tm()\t0\n")
file(WRITE ${WORK}/good.tsv "a\tb\tc\td\te\tf\n1\tT\tn\tn()\t0\t0\n")
execute_process(COMMAND ${BUILDER} ${SCHEMA} ${WORK}/out.db
    F7F57F64_03FF_497f_A9F2_61FC77564_QXV=${WORK}/good.tsv
    BEE75057_3DC5_466c_BD4E_BBEE0C3FF_QXV=${WORK}/bad.tsv
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the builder accepted a row with five fields")
endif()
if(NOT err MATCHES "bad.tsv:3: expected 6 fields")
  message(FATAL_ERROR "the message does not name the line: ${err}")
endif()
if(EXISTS ${WORK}/out.db OR EXISTS ${WORK}/out.db.part)
  message(FATAL_ERROR "a failed build left a database file behind")
endif()
execute_process(COMMAND ${BUILDER} ${SCHEMA} ${WORK}/out.db
    F7F57F64_03FF_497f_A9F2_61FC77564_QXV=${WORK}/good.tsv RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/out.db)
  message(FATAL_ERROR "the builder failed on a good table")
endif()
file(REMOVE_RECURSE ${WORK})
