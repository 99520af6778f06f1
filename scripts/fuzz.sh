#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz, clang + libFuzzer) and runs each of them, or those
# named after the seconds (e.g. "60 project script"), for the given number of seconds
# (default 60) on its corpus: the generated seeds, the golden files of tests/data, the
# inputs earlier runs kept (build/fuzz/corpus) and the regression inputs in fuzz/regressions.
# A crash, a sanitizer report, an input slower than 1 s or an allocation over 64 MiB fails the
# run; the input lands in build/fuzz/artifacts/. FUZZ_SEED fixes libFuzzer's seed (CI does, so
# that a run can be repeated); unset, every run draws its own.
set -euo pipefail
seconds=${1:-60}
case "$seconds" in ''|*[!0-9]*) echo "usage: $0 [seconds [target...]]" >&2; exit 2;; esac
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
targets="access_stream template_store exchange_file parameters project script"
if [ $# -gt 1 ]; then shift; targets="$*"; fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target mvp_fuzz_seeds $(printf "fuzz_%s " $targets)
build="$root/build/fuzz"
corpus="$build/corpus"
artifacts="$build/artifacts"
mkdir -p "$artifacts"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$build/fuzz/mvp_fuzz_seeds" "$corpus/seeds"
cp tests/data/access/*.kav "$corpus/seeds/access_stream/"
cp tests/data/project/*.kvp "$corpus/seeds/project/"

failed=""
for t in $targets; do
  mkdir -p "$corpus/$t"
  dirs=("$corpus/$t" "$corpus/seeds/$t")
  [ -d "fuzz/regressions/$t" ] && dirs+=("fuzz/regressions/$t")
  log="$build/fuzz_$t.log"
  echo "fuzz_$t: ${seconds}s"
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=1 -malloc_limit_mb=64 -rss_limit_mb=2048 \
      -seed="${FUZZ_SEED:-0}" -print_final_stats=1 -artifact_prefix="$artifacts/$t-" "${dirs[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -2 | sed 's/^/  /'
  else
    echo "  FAILED, see $log:"
    grep -E 'ERROR|SUMMARY|fuzz:|Test unit written' "$log" | head -8 | sed 's/^/  /'
    failed="$failed $t"
  fi
done
if [ -n "$failed" ]; then
  echo "fuzz: failed:$failed" >&2
  exit 1
fi
echo "fuzz: all targets ran ${seconds}s without a finding"
