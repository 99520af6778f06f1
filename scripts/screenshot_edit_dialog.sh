#!/usr/bin/env bash
# Screenshots of the edit-templates dialog as it shows on a real X display (Xvfb): sample
# templates of all three levels, one user template selected, the same with the template
# list's context menu open, and a read-only (shared level) template selected.
#
#   scripts/screenshot_edit_dialog.sh [OUT_DIR [LOCALE]]   (default: build/screenshots, English)
#
# BUILD_DIR picks the build tree (default build/shot); it is configured with the benchmarks
# on, since the tool lives in bench/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
lang=${2:-}
build=${BUILD_DIR:-$root/build/shot}

command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }
mkdir -p "$out"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMVP_BUILD_BENCH=ON >/dev/null
else
  cmake -S "$root" -B "$build" -DMVP_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$build" --target shot_edit_dialog mvp_translations >/dev/null
lang_args=()
[ -n "$lang" ] && lang_args=(--lang "$lang" --translations "$build/app/translations")

unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb \
  "$build/bench/shot_edit_dialog" "${lang_args[@]}" "$out/edit_dialog.png" "$out/edit_dialog_menu.png" "$out/edit_dialog_readonly.png"
