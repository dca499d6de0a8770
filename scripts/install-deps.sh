#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing: those that building and running the
# program need, and with --test also those of the tests, benchmarks and fuzzers.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev fontconfig fonts-dejavu-core)
case "${1:-}" in
  --test) packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang clang-format xvfb xauth nodejs npm) ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac
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
