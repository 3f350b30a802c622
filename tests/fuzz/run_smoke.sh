#!/bin/sh
# A short libFuzzer run seeded with the sample projects; new inputs go to a
# scratch folder, never into the examples.
fuzzer="$1"
seeds="$2"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir corpus
"$fuzzer" -runs=3000 -max_len=4096 -timeout=30 -rss_limit_mb=2048 corpus "$seeds"
