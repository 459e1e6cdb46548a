#!/usr/bin/env bash
# Builds the harness project with the compiler given and checks what ctest reports of each of its
# tests: a test that failed anywhere fails, whatever else it skipped; one that skipped something
# and failed nothing is skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cxx=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$here" -B "$work" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work" >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
ctest --test-dir "$work" -j4 >"$work/ctest.log" 2>&1 || true

expected=(
  "Harness.PassesEveryRow Passed"
  "Harness.SkipsARowAndPassesTheOthers Skipped"
  "Harness.SkipsARowAndFailsAnother Failed"
  "Harness.FailsAndThenSkipsWholly Failed"
  "Harness.SkipsWholly Skipped"
  "Harness.SkipsAndThenTheProgramFailsAsItEnds Failed"
  "Program.AllOfIt Failed"
  "Program.ItsPassingAndSkippingTests Skipped"
  "Program.ItsPassingTest Passed"
)
# "  3/9 Test  #3: Harness.SkipsARowAndFailsAnother ....***Failed    0.01 sec"
reported=$(sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*[ *]\(Passed\|Failed\|Skipped\) .*/\1 \2/p' "$work/ctest.log" | sort)
if [ "$reported" != "$(printf '%s\n' "${expected[@]}" | sort)" ]; then
  echo "ctest reported:"
  echo "$reported"
  echo "expected:"
  printf '%s\n' "${expected[@]}" | sort
  echo "--- ctest's output:"
  cat "$work/ctest.log"
  exit 1
fi
echo "ctest reports each of the harness's ${#expected[@]} tests as it ended"
