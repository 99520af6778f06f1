#!/usr/bin/env bash
# Bootstraps, configures, builds and runs the test suite for one preset (default qt6).
set -euo pipefail
preset=${1:-qt6}
case "$preset" in qt6|qt5|asan) ;; *) echo "usage: $0 [qt6|qt5|asan]" >&2; exit 2;; esac
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
export QT_QPA_PLATFORM=offscreen
# The plug-in's registered objects live until the process ends, by design.
[ "$preset" = asan ] && export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ctest --preset "$preset" -j"$(nproc)"
