#!/usr/bin/env bash
# Installs the Debian packages the suite builds and tests with. Safe to run again.
set -euo pipefail
pkgs=(qt6-base-dev qt6-declarative-dev libxml2-dev libgtest-dev libgmock-dev libbenchmark-dev
      cmake ninja-build pkg-config g++ clang libclang-rt-14-dev ccache clang-format
      qt6-svg-dev fonts-nanum adwaita-icon-theme)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
