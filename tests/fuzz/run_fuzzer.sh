#!/bin/sh
# Runs one fuzz target with the limits that every input must keep: at most
# 10 seconds, at most 256 MB in one allocation and 1 GB in all (the
# sanitizers' own memory included). Inputs grow up to the largest seed.
#
#   run_fuzzer.sh smoke:RUNS FUZZER SEEDS...
#       RUNS inputs from a fixed random seed, new inputs in a scratch folder
#       (the smoke run of ctest);
#   run_fuzzer.sh SECONDS FUZZER CORPUS SEEDS...
#       a campaign of SECONDS that keeps its new inputs in CORPUS.
# A crashing, hanging or memory-hungry input is saved beside the current
# folder's other findings as finding-<target>-<kind>-<hash>.
set -eu
mode="$1"
fuzzer="$2"
shift 2
limits="-timeout=10 -malloc_limit_mb=256 -rss_limit_mb=1024"
findings="-artifact_prefix=$(pwd)/finding-$(basename "$fuzzer")-"
# Leaks inside libraries outside this project only (see the file).
LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/../sanitize" && pwd)/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export LSAN_OPTIONS
case "$mode" in
  smoke:*)
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    # shellcheck disable=SC2086
    "$fuzzer" $limits "$findings" -seed=1 -runs="${mode#smoke:}" "$scratch" "$@"
    ;;
  *)
    corpus="$1"
    shift
    mkdir -p "$corpus"
    # shellcheck disable=SC2086
    "$fuzzer" $limits "$findings" -max_total_time="$mode" -print_final_stats=1 "$corpus" "$@"
    ;;
esac
