#!/usr/bin/env bash
# Installs the Debian packages the build and the Wine test bench need, only
# when something is missing, so repeated runs cost nothing.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have wine || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have Xvfb || need+=(xvfb)
have xvfb-run || need+=(xvfb)
have xauth || need+=(xauth)
have wixl || need+=(wixl)
have openssl || need+=(openssl)
have msibuild || need+=(msitools)
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have python3 || need+=(python3)
have clang-format || need+=(clang-format)
have xwd || need+=(x11-apps)
have xwininfo || need+=(x11-utils)
[ -f /usr/bin/convert ] || need+=(imagemagick)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# The benchmarks' baselines: zlib's crc32 and curl's download.
[ -f /usr/x86_64-w64-mingw32/lib/libz.a ] || need+=(libz-mingw-w64-dev)
have curl || need+=(curl)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${need[*]} (run as root to install them)" >&2
  exit 1
fi
echo "installing: ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}"
