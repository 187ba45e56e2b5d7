#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from its seed corpus
# for a bounded time (FUZZ_SECONDS, default 30). Any crash, leak or sanitizer
# report fails the script; the input that found it is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
cmake --preset fuzz >/dev/null
targets=(number_text_fuzz cli_args_fuzz scheme_picture_fuzz)
cmake --build --preset fuzz --target "${targets[@]}"
status=0
for t in "${targets[@]}"; do
  name=${t%_fuzz}
  work=build/fuzz/corpus/$name
  mkdir -p "$work"
  echo "fuzzing $name for ${seconds}s"
  if ! (cd build/fuzz && QT_QPA_PLATFORM=offscreen "./fuzz/$t" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "corpus/$name" "../../fuzz/corpus/$name" \
        > "fuzz-$name.log" 2>&1); then
    echo "FAILED: $name (see build/fuzz/fuzz-$name.log)"
    tail -n 30 "build/fuzz/fuzz-$name.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "build/fuzz/fuzz-$name.log" || true
  fi
done
exit $status
