#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each over its seeds in fuzz/corpus,
# with its dictionary from fuzz/dict.
#
#   fuzz/run.sh smoke                 a short fixed run of each target (the test command runs it)
#   fuzz/run.sh long [RUNS] [SECONDS] each target for RUNS executions (10000000) or SECONDS
#                                     (1800), whichever comes first; prints the figures
#   fuzz/run.sh long RUNS SECONDS NAME...   only the named targets
#
# New inputs that a run finds go to a scratch folder, not into the repository;
# a crash (or a slow input) leaves it in build/fuzz/artifacts, and a crash
# fails the run.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build/fuzz"
MODE=${1:-smoke}

# shellcheck source=../scripts/apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"
"$ROOT/scripts/setup.sh" none
install_missing_packages clang

if [ ! -f "$BUILD/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLPOST_FUZZ=ON -DBUILD_TESTING=OFF >&2
fi
cmake --build "$BUILD" >&2

TARGETS=(switches ini text_loader stdin_lines json_answers urls date_time html_body paths
  front_matter import_texts answer_filters)
case "$MODE" in
  smoke) RUNS=20000; SECONDS_EACH=30 ;;
  long) RUNS=${2:-10000000}; SECONDS_EACH=${3:-1800}; shift $(( $# < 3 ? $# : 3 ))
        [ $# -gt 0 ] && TARGETS=("$@") ;;
  *) sed -n '2,14p' "$0" >&2; exit 2 ;;
esac

SCRATCH=$(mktemp -d /tmp/quillpost-fuzz-corpus-XXXXXX)
trap 'rm -rf "$SCRATCH"' EXIT
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${TARGETS[@]}"; do
  mkdir -p "$SCRATCH/$target" "$BUILD/artifacts"
  log="$SCRATCH/$target.log"
  if ! "$BUILD/fuzz/fuzz_$target" "$SCRATCH/$target" "$ROOT/fuzz/corpus/$target" \
      -dict="$ROOT/fuzz/dict/$target.dict" -runs="$RUNS" -max_total_time="$SECONDS_EACH" \
      -artifact_prefix="$BUILD/artifacts/$target-" \
      -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 >"$log" 2>&1; then
    cat "$log" >&2
    echo "fuzz: $target FAILED" >&2
    exit 1
  fi
  execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  secs=$(grep -m1 'stat::average_exec_per_sec' "$log" | awk '{print $2}')
  echo "fuzz: $target ok: ${execs:-?} executions (${secs:-?} per second)"
done
