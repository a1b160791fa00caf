# Sourced by the bench scripts: the private Wine prefix of one build tree.
# Usage: . scripts/wine-env.sh BUILD_DIR
build_dir=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
