#!/usr/bin/env bash
# Configures and builds the libFuzzer targets with Clang in build-fuzz/, then runs each for
# SECONDS seconds on a working corpus grown from its seeds (tests/fuzz/corpus/<name>).
#   tests/fuzz/run.sh [SECONDS] [TARGET...]      (default: 60 seconds, every target)
# Findings are written to build-fuzz/findings/<target>/; the script exits 1 when any target
# found a crash, a leak or a timeout.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${TAVRICAT_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(sentence_pipeline_fuzz rtf_reader_fuzz line_file_update_fuzz grammar_import_fuzz damaged_library_fuzz)
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTAVRICAT_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j "${TAVRICAT_FUZZ_JOBS:-2}" --target "${targets[@]}"

failed=0
for target in "${targets[@]}"; do
  name="${target%_fuzz}"
  work="$build/corpus/$name"
  findings="$build/findings/$target"
  mkdir -p "$work" "$findings"
  echo "== $target: $seconds s"
  if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$here/corpus/$name" \
      >"$findings/log.txt" 2>&1; then
    echo "   FOUND: see $findings"
    failed=1
  fi
  grep -E "^stat::number_of_executed_units|^Done [0-9]+ runs" "$findings/log.txt" | tail -2 | sed 's/^/   /'
done
exit $failed
