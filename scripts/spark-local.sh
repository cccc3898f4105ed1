#!/usr/bin/env bash
# The Spark job in local mode on this machine, with no Spark installation:
# the job's jar (varnoth-spark-VERSION-all.jar) submitted, as spark-submit
# does, through Spark's own SparkSubmit from its jars in the local Maven
# repository, with a master of local[N] (N cores, default all). Builds first
# when the job is not built or its sources changed.
#   scripts/spark-local.sh [-j N] --input DIR_OR_GLOB --output DIR
#                          [--mode error|overwrite] [--format parquet|csv]
#                          [the tool's measuring options: --tiles --sectors N ...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cores='*'
if [ "${1:-}" = -j ]; then
  cores=$2
  shift 2
fi
version=$(sed -n 's:.*<revision>\(.*\)</revision>.*:\1:p' "$root/pom.xml")
jar="$root/varnoth-spark/target/varnoth-spark-$version-all.jar"
classpath="$root/varnoth-spark/target/spark-classpath.txt"
why="not built yet"
if [ -f "$jar" ] && [ -f "$classpath" ]; then
  why=$(find "$root/pom.xml" "$root/varnoth-spark/pom.xml" "$root/varnoth-spark/src" \
    "$root/varnoth-jni/pom.xml" "$root/varnoth-jni/src" "$root/src" -newer "$jar" -print -quit)
  [ -z "$why" ] || why="sources changed"
fi
if [ -n "$why" ]; then
  echo "spark-local: building the job ($why), about two minutes" >&2
  # The build's own output only when it fails.
  log=$(mktemp)
  if ! mvn -B -ntp -q -Dstyle.color=never -f "$root/pom.xml" -DskipTests install >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "spark-local: the build failed" >&2
    exit 1
  fi
  rm -f "$log"
fi
# Local mode listens on the loopback interface only.
export SPARK_LOCAL_IP=${SPARK_LOCAL_IP:-127.0.0.1}
# What Spark needs opened on Java 17, as the module's pom lists it.
opens=$(sed -n 's:.*<spark.java17.options>\(.*\)</spark.java17.options>.*:\1:p' \
  "$root/varnoth-spark/pom.xml")
# shellcheck disable=SC2086
# Java reads and prints file names in the locale's encoding: UTF-8, whatever
# LANG says, so that every name a folder holds can be named.
case "$(locale charmap 2>/dev/null)" in
  UTF-8) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
# Local mode is one JVM running the job once: the options of a short run.
# shellcheck source=short-run-jvm.sh
. "$root/scripts/short-run-jvm.sh"
exec java "${short_run_jvm[@]}" $opens -Dlog4j2.configurationFile="$root/scripts/spark/log4j2.properties" \
  -cp "$(cat "$classpath")" org.apache.spark.deploy.SparkSubmit \
  --master "local[$cores]" --class org.varnoth.spark.SpectralSlopesJob "$jar" "$@"
