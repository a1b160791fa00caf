# Sourced by the bench scripts: the private Wine prefix of one build tree.
# Usage: . scripts/wine-env.sh BUILD_DIR
build_dir=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Keeps the prefix's server running between programs. A server that already
# runs (another script, a developer's own `wineserver -p`) serves as well:
# wineserver then exits non-zero, which is no failure.
kw_keep_server_warm() {
  wineserver -p 2>/dev/null || true
}
