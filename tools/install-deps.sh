#!/usr/bin/env bash
# Installs the Debian packages Zentaro needs, and only those that are missing.
# Usage: tools/install-deps.sh [run|test]
#   run   what building and running the program needs (./run.sh)
#   test  that, and the test toolchain: test frameworks, sanitizers and fuzzer,
#         virtual displays, the accessibility bus and its Python client,
#         metadata validators and packaging tools (./test.sh)
set -euo pipefail

set_name=${1:-test}
run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev qt6-wayland
  libcurl4-openssl-dev ca-certificates
  libzip-dev libexpat1-dev libicu-dev
  xdg-utils
  fonts-liberation fonts-dejavu-core
)
test_packages=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-dev
  python3 openssl
  xvfb xauth xfonts-base x11-apps x11-utils imagemagick xdotool xclip
  weston desktop-file-utils appstream dpkg-dev file man-db lintian
  at-spi2-core python3-pyatspi dbus
  fp-utils
  units time
)
case "$set_name" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
