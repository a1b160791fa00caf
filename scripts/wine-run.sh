#!/usr/bin/env bash
# Runs a Windows program of the build tree under its private Wine prefix.
# CTest uses it as the cross-compiling emulator.
#
# Wine starts helper processes (explorer, services) that outlive the program
# while the server is kept warm. They must not inherit CTest's output pipe,
# or CTest would wait for them: the output goes through a file instead.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "${KW_BUILD_DIR:?KW_BUILD_DIR names the build tree}"
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
wine "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
exit $status
