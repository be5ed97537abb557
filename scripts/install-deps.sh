#!/usr/bin/env bash
# Installs what building and testing need, once; quiet when everything is there already.
set -euo pipefail

packages=(cmake make g++ git g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 fonts-wine xvfb xauth
          imagemagick xdotool libgtest-dev libgmock-dev libbenchmark-dev clang-format
          clang-16 clang-tidy-16 libclang-rt-16-dev procps zip unzip)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
