# Sourced by the end-to-end scripts: counts the checks of a run and, for a
# failed one, names it with its scenario, lets the script explain (its
# `explain_failure` function, once per scenario: the program's log) and keeps
# the screen in $failure_dir when there is a display.
passed=0
failed=0
scenario=
explained=
output=

check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    return 0
  fi
  failed=$((failed + 1))
  echo "FAIL [$scenario] $what"
  if [ "$explained" != "$scenario" ] && declare -F explain_failure >/dev/null; then
    explained=$scenario
    explain_failure
  fi
  if [ -n "${DISPLAY:-}" ] && [ -n "${failure_dir:-}" ]; then
    mkdir -p "$failure_dir"
    xwd -root -display "$DISPLAY" 2>/dev/null | convert xwd:- "$failure_dir/$failed.png" 2>/dev/null &&
      echo "--- screen: $failure_dir/$failed.png"
  fi
}

# The run's counts; the script's status.
report_checks() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# wait_end PID SECONDS [IMAGE]: waits for a program started in the background
# by this shell (only it can wait) and puts its exit code in $output. One that
# hangs is ended (with `taskkill` of its image name under Wine, when given),
# so the next scenario starts alone; $output is then "timeout".
wait_end() {
  local pid=$1 tenths=$(($2 * 10))
  for _ in $(seq "$tenths"); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      output=$?
      return 0
    fi
    sleep 0.1
  done
  output=timeout
  if [ -n "${3:-}" ]; then wine taskkill /F /IM "$3" >/dev/null 2>&1; else kill "$pid" 2>/dev/null; fi
  return 1
}
