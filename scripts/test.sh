#!/usr/bin/env bash
# Set-up, both builds, then every test: the native tests (built with
# AddressSanitizer and UndefinedBehaviorSanitizer), the Windows tests under
# Wine on a virtual display, and a short run of every fuzz target.
# Ends with one line "N passed, N failed" over all of them.
# KESTRUM_TESTS picks the parts (default "asan windows fuzz"; "native" adds the
# plain optimised native build with its tests and benchmarks).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
parts=" ${KESTRUM_TESTS:-asan windows fuzz} "
jobs=$(nproc)

bash scripts/setup.sh || { echo "set-up failed"; echo "0 passed, 1 failed"; exit 1; }

failed_steps=0
step() {
  echo "== $*"
  "$@" || { echo "!! failed: $*" >&2; failed_steps=$((failed_steps + 1)); return 1; }
}

xvfb_pid=""
# Wine's server lies beside wine64, not on the path.
wineserver=/usr/lib/wine/wineserver
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX:-}" ]; then "$wineserver" -k 2>/dev/null || true; fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  true
}
trap cleanup EXIT

run_ctest() {
  local preset=$1
  rm -rf "build/$preset/reports"
  mkdir -p "build/$preset/reports"
  step ctest --preset "$preset" -j "$jobs" --timeout 900
}

for preset in native native-asan windows; do
  case $preset in native-asan) name=asan ;; *) name=$preset ;; esac
  [[ $parts == *" $name "* ]] || continue
  if step cmake --preset "$preset" >/dev/null && step cmake --build --preset "$preset" -j "$jobs"; then
    if [ "$preset" = windows ]; then
      # One virtual display and one Wine prefix for the whole run.
      for n in $(seq 90 140); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      export DISPLAY=":$n"
      export WINEPREFIX="$root/build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
      echo "== preparing the Wine prefix"
      step bash scripts/wine-prefix.sh
      # The first Windows program to run starts Wine's own background
      # processes, and they keep that program's output open until the server
      # ends: the test that happened to be first would hold its place in the
      # run to the end. Start them here, detached from every test's output.
      "$wineserver" -p >/dev/null 2>&1
      /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null || true
    fi
    run_ctest "$preset"
  fi
done

fuzz_runs=0
fuzz_failed=0
if [[ $parts == *" fuzz "* ]]; then
  if step cmake --preset fuzz >/dev/null && step cmake --build --preset fuzz -j "$jobs"; then
    # The targets are independent: run as many at once as there are cores.
    run_fuzzer() {
      local fuzzer=$1 name
      name=$(basename "$fuzzer")
      # libFuzzer adds what it finds to its first corpus folder: give it a
      # scratch copy so the committed seeds stay as they are.
      local corpus="build/fuzz/corpus/${name#fuzz_}"
      rm -rf "$corpus" && mkdir -p "$corpus"
      local seeds="fuzz/seeds/${name#fuzz_}"
      [ -d "$seeds" ] && cp -r "$seeds/." "$corpus/"
      if "$fuzzer" -runs=20000 -max_total_time=60 -rss_limit_mb=4096 "$corpus" >"build/fuzz/$name.log" 2>&1; then
        echo ok >"build/fuzz/$name.result"
      else
        echo failed >"build/fuzz/$name.result"
      fi
    }
    rm -f build/fuzz/*.result
    fuzz_pids=()
    running_fuzzers() {
      local count=0 pid
      for pid in "${fuzz_pids[@]}"; do kill -0 "$pid" 2>/dev/null && count=$((count + 1)); done
      echo "$count"
    }
    for fuzzer in build/fuzz/fuzz/fuzz_*; do
      [ -x "$fuzzer" ] || continue
      while (($(running_fuzzers) >= jobs)); do sleep 0.2; done
      echo "== $(basename "$fuzzer")"
      run_fuzzer "$fuzzer" &
      fuzz_pids+=($!)
    done
    # Only the fuzzers: the virtual display runs in the background too.
    ((${#fuzz_pids[@]})) && wait "${fuzz_pids[@]}"
    for result in build/fuzz/*.result; do
      [ -e "$result" ] || continue
      name=$(basename "$result" .result)
      fuzz_runs=$((fuzz_runs + 1))
      if [ "$(cat "$result")" != ok ]; then
        fuzz_failed=$((fuzz_failed + 1))
        echo "!! $name found a fault:"
        tail -40 "build/fuzz/$name.log"
      fi
    done
  fi
fi

python3 - "$fuzz_runs" "$fuzz_failed" "$failed_steps" "$parts" <<'PY'
import os, subprocess, sys
import xml.etree.ElementTree as ET
fuzz_runs, fuzz_failed, failed_steps = map(int, sys.argv[1:4])
parts = sys.argv[4].split()
passed = failed = 0
for part, preset in (("native", "native"), ("asan", "native-asan"), ("windows", "windows")):
    build = f"build/{preset}"
    if part not in parts or not os.path.isdir(os.path.join(build, "reports")):
        continue
    listed = subprocess.run(["ctest", "--test-dir", build, "-N"], capture_output=True, text=True).stdout
    names = [l.split(":", 1)[1].strip() for l in listed.splitlines() if l.strip().startswith("Test") and "#" in l]
    for name in names:
        report = os.path.join(build, "reports", name + ".xml")
        try:
            root = ET.parse(report).getroot()
        except (OSError, ET.ParseError):
            print(f"{preset}/{name}: no report (the program crashed or did not start)")
            failed += 1
            continue
        tests = int(root.get("tests", 0))
        bad = int(root.get("failures", 0)) + int(root.get("errors", 0))
        skipped = int(root.get("skipped", 0)) + int(root.get("disabled", 0))
        passed += tests - bad - skipped
        failed += bad
passed += fuzz_runs - fuzz_failed
failed += fuzz_failed
# A build or step that failed without any test to show it still fails the run.
if failed == 0 and failed_steps:
    failed = failed_steps
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
PY
