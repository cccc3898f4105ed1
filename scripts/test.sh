#!/usr/bin/env bash
# Builds everything and runs every test:
#   0. the checks of the sources' form: every tracked C++ file formatted
#      (scripts/format.sh --check); no Markdown file bearing a formatter's
#      marks, and the README's quick start the text of QuickStart.java
#      (scripts/check-markdown.py, itself tried on a page of such marks);
#   1. the natives with CMake and CTest: the developer build (GoogleTest,
#      export table), the same tests under AddressSanitizer and UBSan, the
#      cross-builds with their tests (Windows x86 and x86-64 DLLs with
#      mingw-w64, under 32- and 64-bit Wine; Linux aarch64 under qemu-user),
#      and the libFuzzer targets (clang, ASan and UBSan), each run for a
#      bounded time from its seed corpus;
#   2. every output of every build set side by side (cross_build_compare):
#      the outputs made by correctly rounded operations alone must agree to
#      the bit; the table counts the values that differ elsewhere;
#   3. the Maven build with the release profile (signing skipped: no keys
#      here): the release natives of the four platforms, both libraries of
#      each, packed into varnoth-jni-VERSION.jar, the JUnit tests in JVMs
#      under -Xcheck:jni (any JNI warning fails; the tool's tests end to
#      end), the Spark module's tests in a local[2] session, the ImageJ
#      command's tests under Xvfb (ImageJ needs a display; without xvfb-run
#      they are skipped), javadoc with doclint, each module's sources and
#      javadoc jars and CycloneDX bill of materials, and the artifacts
#      installed in the local Maven repository; the ImageJ plugin jar must
#      carry the same natives as the library's jar; the published POMs must
#      hold all that Maven Central requires and every jar the licence
#      (scripts/check-poms.py); the library's jars, built once more from the
#      same commit, must be the same bytes;
#   4. the command-line tool through its launcher, on the bundled sample;
#   5. the example consumer in examples/, built against the installed
#      artifact and run with no options: the README's quick start and
#      PrintSlope must each print a slope.
# A cross target whose compiler is missing is skipped. A cross build whose
# test programs this host cannot execute (32-bit x86 programs, on hosts
# without 32-bit support) is still built, its files checked and its library
# packed; its test programs are not run. The last lines of the run name
# what was skipped and why.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --cross
jobs=$(nproc 2>/dev/null || echo 2)
mvn=(mvn -B -ntp -Dstyle.color=never)

echo "== the sources' form"
scripts/format.sh --check
scripts/check-markdown.py
# The Markdown check finds each mark on a page made of them.
marks=$(scripts/check-markdown.py tests/markdown/formatter-marks.txt 2>/dev/null || true)
diff <(echo "$marks") tests/markdown/formatter-marks.expected \
  || { echo "check-markdown missed or misread a formatter's mark" >&2; exit 1; }

# Each cross preset, the compiler it needs, and its platform's name.
declare -A compiler=([mingw32]=i686-w64-mingw32-g++-posix
                     [mingw64]=x86_64-w64-mingw32-g++-posix
                     [aarch64]=aarch64-linux-gnu-g++)
declare -A platform=([dev]=linux-x86_64 [aarch64]=linux-aarch64
                     [mingw32]=windows-x86 [mingw64]=windows-x86_64)
skipped=()    # what was not built or not run, and why
missing=()    # platforms not built
outputs=()
for preset in dev asan-ubsan aarch64 mingw32 mingw64 fuzz; do
  if [ -n "${compiler[$preset]:-}" ] && ! command -v "${compiler[$preset]}" >/dev/null; then
    echo "== $preset skipped: no ${compiler[$preset]}"
    skipped+=("${platform[$preset]} build (no ${compiler[$preset]})")
    missing+=("${platform[$preset]}")
    continue
  fi
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  repeat=()
  # Under Wine a test program now and then dies as it starts, with "wine
  # client error: recvmsg: Connection reset by peer" when it connects to a
  # wineserver that is exiting: such a test runs once more. A test that
  # fails twice fails the run.
  case "$preset" in mingw*) repeat=(--repeat until-pass:2) ;; esac
  ctest --preset "$preset" -j "$jobs" "${repeat[@]}"
  # The build says why when this host cannot execute its test programs.
  if [ -f "build-$preset/tests-not-run.txt" ]; then
    skipped+=("${platform[$preset]} tests ($(cat "build-$preset/tests-not-run.txt"))")
  elif [ -n "${platform[$preset]:-}" ]; then
    outputs+=("${platform[$preset]}=build-$preset/cross_build_outputs.bin")
  fi
done

if [ ${#outputs[@]} -ge 2 ]; then
  echo "== every output of every build, against linux-x86_64"
  build-dev/tests/cross_build/cross_build_compare "${outputs[@]}"
fi

echo "== maven"
display=()
if command -v xvfb-run >/dev/null; then
  display=(xvfb-run -a)
else
  skipped+=("the ImageJ command's tests (no xvfb-run)")
fi
# The jars' entry times are the last commit's: the same commit, the same bytes.
stamp=$(git log -1 --format=%cI 2>/dev/null || true)
[ -z "$stamp" ] || mvn+=("-Dproject.build.outputTimestamp=$stamp")
"${display[@]}" "${mvn[@]}" -Prelease -Dgpg.skip clean install
scripts/check-poms.py
version=$(sed -n 's:.*<revision>\(.*\)</revision>.*:\1:p' pom.xml)
jar=varnoth-jni/target/varnoth-jni-$version.jar
listing=$(jar tf "$jar")
carried=()
for p in linux-x86_64 linux-aarch64 windows-x86 windows-x86_64; do
  case "$p" in
    windows-*) libs=(Varnoth_JNI.dll Varnoth_Spectra.dll) ;;
    *) libs=(libVarnoth_JNI.so libVarnoth_Spectra.so) ;;
  esac
  found=0
  for lib in "${libs[@]}"; do
    if grep -qx "Varnoth/native/$p/$lib" <<<"$listing"; then
      found=$((found + 1))
    elif ! printf '%s\n' "${missing[@]}" | grep -qx "$p"; then
      echo "$jar lacks Varnoth/native/$p/$lib" >&2
      exit 1
    fi
  done
  [ "$found" -eq 0 ] || carried+=("$p")
done
echo "$jar carries ${carried[*]}"
plugin=varnoth-imagej/target/Varnoth_ImageJ-$version.jar
diff <(grep '^Varnoth/native/' <<<"$listing" | sort) \
  <(jar tf "$plugin" | grep '^Varnoth/native/' | sort) \
  || { echo "$plugin lacks natives that $jar carries" >&2; exit 1; }
jar tf "$plugin" | grep -qx plugins.config || { echo "$plugin lacks plugins.config" >&2; exit 1; }
echo "$plugin carries the same natives and plugins.config"
# The library's jars once more, from the same classes' sources and natives.
first=$(mktemp -d)
cp varnoth-jni/target/varnoth-jni-"$version"*.jar "$first"/
rm -rf varnoth-jni/target/classes varnoth-jni/target/varnoth-jni-"$version"*.jar
"${mvn[@]}" -o -q -Dvarnoth.skipNatives -DskipTests -pl varnoth-jni package
for f in "$first"/*.jar; do
  cmp "$f" "varnoth-jni/target/${f##*/}" \
    || { echo "varnoth-jni/target/${f##*/} differs from the first build's" >&2; exit 1; }
done
echo "a second build gives the same bytes: $(cd "$first" && ls | tr '\n' ' ')"
rm -rf "$first"

echo "== command-line tool"
out=$(scripts/varnoth analyze samples/synthetic-beta2.png)
echo "$out"
grep -Eq '^samples/synthetic-beta2\.png  slope -?[0-9]+\.[0-9]+' <<<"$out" \
  || { echo "scripts/varnoth printed no slope" >&2; exit 1; }

echo "== example consumer"
"${mvn[@]}" -q -f examples/pom.xml clean
out=$(scripts/examples.sh QuickStart examples/sample.png)
echo "$out"
grep -Eq '^slope -?[0-9]+\.[0-9]+(E-?[0-9]+)? over 65 rings$' <<<"$out" \
  || { echo "the README's quick start printed no slope" >&2; exit 1; }
out=$(scripts/examples.sh PrintSlope examples/sample.png)
echo "$out"
grep -Eq '^examples/sample\.png: slope -?[0-9]+\.[0-9]+, intercept' <<<"$out" \
  || { echo "the example consumer printed no slope" >&2; exit 1; }
if [ ${#skipped[@]} -gt 0 ]; then
  echo "all tests that could run passed"
  printf 'SKIPPED: %s\n' "${skipped[@]}"
else
  echo "all tests passed on all four platforms' builds"
fi
