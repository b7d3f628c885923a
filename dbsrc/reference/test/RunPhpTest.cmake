# Runs a PHP test script with the php found now, when the tests run, rather
# than when the build was configured: a machine without php fails this test
# and says why, instead of leaving the test out of the run.
#   cmake -DSCRIPT=<file.php> -P RunPhpTest.cmake
find_program(PHP_EXECUTABLE php)
if(NOT PHP_EXECUTABLE)
  message(FATAL_ERROR "php is not on the search path; install php-cli (scripts/deps.sh does) to run ${SCRIPT}")
endif()
execute_process(COMMAND ${PHP_EXECUTABLE} ${SCRIPT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} failed: ${result}")
endif()
