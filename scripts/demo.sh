#!/usr/bin/env bash
# From a fresh clone: installs the packages, builds mvp-host (Qt 6) and runs its built-in demo
# under a virtual X server. The step screenshots and the log land in demo-out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset qt6 >/dev/null
cmake --build --preset qt6 --target mvp-host
out="$root/demo-out"
rm -rf "$out"
mkdir -p "$out"
# A configuration of its own, so the demo never touches the user's templates.
status=0
xvfb-run -a build/qt6/app/mvp-host --demo --screenshot "$out/demo.png" --config-root "$out/config" \
  2>&1 | tee "$out/demo.log" || status=$?
if [ "$status" -ne 0 ]; then
  echo "demo: FAILED (exit $status); see $out/demo.log" >&2
  exit "$status"
fi
echo "demo: screenshots in $out"
