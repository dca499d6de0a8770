#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need; only what is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev
  libbenchmark-dev clang fontconfig fonts-dejavu-core xvfb xauth nodejs npm)
missing=()
for p in "${packages[@]}"; do
  # nodejs/npm may come from elsewhere on a developer's machine; a working command is enough.
  case "$p" in
    nodejs) command -v node >/dev/null 2>&1 && continue ;;
    npm) command -v npm >/dev/null 2>&1 && continue ;;
  esac
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
