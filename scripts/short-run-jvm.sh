# The JVM options of a run of seconds, for the launchers to source
# (scripts/varnoth, scripts/spark-local.sh): sets the array short_run_jvm.
#
# A batch of seconds is over before the optimising compiler pays for itself:
# on 2,000 small PNGs the first tier's code, compiled at a fraction of the
# cost, took about half as long per image beyond start-up as the two tiers,
# and less over 10,000 too; Spark in local mode set itself up in 8 s instead
# of 10. The serial collector costs least for images that die young.
# Transparent huge pages, where the kernel offers them, spare the first pass
# through the heap most of its page faults (44,000 of them on 2,000 small
# PNGs, 9,000 with them). The JVM's own warnings go to stderr, never into
# results on stdout.
short_run_jvm=(-XX:TieredStopAtLevel=1 -XX:+UseSerialGC -Xlog:disable -Xlog:all=warning:stderr)
if grep -qs '\[\(always\|madvise\)\]' /sys/kernel/mm/transparent_hugepage/enabled; then
  short_run_jvm+=(-XX:+UseTransparentHugePages)
fi
