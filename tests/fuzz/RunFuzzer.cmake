# Runs one libFuzzer target for SECONDS seconds, from the seeds in SEEDS,
# keeping what it finds in SCRATCH. Fails when the fuzzer reports anything.
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=30 -rss_limit_mb=2048
          -artifact_prefix=${SCRATCH}/
          -print_final_stats=1 ${SCRATCH} ${SEEDS}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (exit ${rc}); the input that failed is in ${SCRATCH}")
endif()
