# Runs the JUnit console launcher in a JVM with -Xcheck:jni and fails when a
# test fails, when no test ran, or when the JVM reports any JNI warning.
#   cmake -DJAVA=... -DJUNIT_JAR=... -DCLASSPATH=... -DLIBRARY=... -P RunJUnit.cmake
set(command ${JAVA} -Xcheck:jni -Dvarnoth.library=${LIBRARY}
    -Dvarnoth.test.classpath=${CLASSPATH}
    -jar ${JUNIT_JAR} --disable-banner --details=summary --details-theme=ascii
    --fail-if-no-tests --class-path ${CLASSPATH} --scan-class-path)
execute_process(COMMAND ${command} RESULT_VARIABLE result OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
message("${out}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "JUnit run failed (exit code ${result})")
endif()
string(REGEX MATCH "(WARNING|FATAL ERROR) in native method[^\n]*" jniWarning "${out}")
if(jniWarning)
  message(FATAL_ERROR "-Xcheck:jni reported: ${jniWarning}")
endif()
