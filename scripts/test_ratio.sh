#!/bin/sh
# Non-blank lines of test code (.cpp/.h under tests/) against the rest of the code
# (.cpp/.h outside tests/, bench/, fuzz/ and build directories). Run from anywhere.
cd "$(dirname "$0")/.." || exit 1
count() { git ls-files -co --exclude-standard -- "$@" | grep -E '\.(cpp|h)$' | xargs -r cat | grep -c '[^[:space:]]'; }
t=$(count tests)
c=$(count . ':!tests' ':!bench' ':!fuzz' ':!build*')
awk -v t="$t" -v c="$c" 'BEGIN { printf "tests %d / code %d = %.2f\n", t, c, t / c }'
