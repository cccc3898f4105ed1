# The Java classes that declare native methods, Varnoth.Varnoth and
# org.varnoth.SpectraNatives, their jars and the JNI headers generated from
# them.
#
# Prefers Debian's JDK 17: a newer JDK's jni.h does not suit every target.
include_guard(GLOBAL)

if(NOT DEFINED JAVA_HOME AND NOT DEFINED ENV{JAVA_HOME}
   AND EXISTS /usr/lib/jvm/java-17-openjdk-amd64)
  set(JAVA_HOME /usr/lib/jvm/java-17-openjdk-amd64)
endif()
if(DEFINED JAVA_HOME)
  set(ENV{JAVA_HOME} ${JAVA_HOME})
endif()

find_package(Java 17 REQUIRED COMPONENTS Development Runtime)
set(VARNOTH_JNI_JDK /usr/lib/jvm/java-17-openjdk-amd64 CACHE PATH
    "JDK whose include/jni.h the cross-builds compile against")
if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  find_package(JNI REQUIRED)
elseif(NOT WIN32)
  # Linux cross-build (aarch64): the JDK's headers serve every Linux target,
  # since its jni_md.h depends on the data model only (jlong is long on LP64).
  # They sit outside the cross sysroot, so they are named, not searched for.
  if(NOT EXISTS ${VARNOTH_JNI_JDK}/include/linux/jni_md.h)
    message(FATAL_ERROR "no ${VARNOTH_JNI_JDK}/include/linux/jni_md.h: install openjdk-17-jdk-headless or set VARNOTH_JNI_JDK")
  endif()
  set(JNI_INCLUDE_DIRS ${VARNOTH_JNI_JDK}/include ${VARNOTH_JNI_JDK}/include/linux)
  message(STATUS "JNI headers (Linux cross-build): ${JNI_INCLUDE_DIRS}")
else()
  # Windows cross-builds: jni.h of Debian's JDK 17 (whatever JDK runs
  # javac) with the project's own jni_md.h for Windows in front of it; the
  # JDK's include/linux is never on the path. A newer JDK's jni.h defines
  # JNICALL itself, empty, which would drop __stdcall from every native
  # method: refused below.
  set(jniHeader ${VARNOTH_JNI_JDK}/include/jni.h)
  if(NOT EXISTS ${jniHeader})
    message(FATAL_ERROR "no ${jniHeader}: install openjdk-17-jdk-headless or set VARNOTH_JNI_JDK")
  endif()
  file(STRINGS ${jniHeader} jniDefinesJnicall REGEX "^#[ \t]*define[ \t]+JNICALL")
  if(jniDefinesJnicall)
    message(FATAL_ERROR "${jniHeader} defines JNICALL itself, which drops "
                        "__stdcall on Windows x86: use JDK 17's jni.h")
  endif()
  set(JNI_INCLUDE_DIRS ${CMAKE_SOURCE_DIR}/src/Java/windows ${VARNOTH_JNI_JDK}/include)
  message(STATUS "JNI headers (Windows): ${JNI_INCLUDE_DIRS}")
endif()
include(UseJava)

# The sources of the Maven module varnoth-jni; javac finds the loader that
# the classes' static initialisers call through the source path.
set(VARNOTH_JAVA_SOURCES ${CMAKE_SOURCE_DIR}/varnoth-jni/src/main/java)
set(CMAKE_JAVA_COMPILE_FLAGS -encoding UTF-8 -Xlint:all --release 17
    -sourcepath ${VARNOTH_JAVA_SOURCES})

# The JNI header Varnoth_Varnoth.h in build/jni-headers, generated from the
# class that declares the natives; the jar (build/Varnoth.jar) is a
# by-product: the jar for Java users is the Maven build's.
add_jar(varnoth_jar
  SOURCES ${VARNOTH_JAVA_SOURCES}/Varnoth/Varnoth.java
  OUTPUT_NAME Varnoth
  OUTPUT_DIR ${CMAKE_BINARY_DIR}
  GENERATE_NATIVE_HEADERS varnoth_jni_headers
    DESTINATION ${CMAKE_BINARY_DIR}/jni-headers)

# org_varnoth_SpectraNatives.h beside it, for the library Varnoth_Spectra;
# build/VarnothSpectra.jar is again a by-product.
add_jar(varnoth_spectra_jar
  SOURCES ${VARNOTH_JAVA_SOURCES}/org/varnoth/SpectraNatives.java
  OUTPUT_NAME VarnothSpectra
  OUTPUT_DIR ${CMAKE_BINARY_DIR}
  GENERATE_NATIVE_HEADERS varnoth_spectra_headers
    DESTINATION ${CMAKE_BINARY_DIR}/jni-headers)
