#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zentaro need,
# and only when one of them is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev ca-certificates
  libzip-dev libexpat1-dev
  qt6-wayland
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-dev
  python3
  xvfb xauth xfonts-base x11-apps x11-utils imagemagick xdotool xclip
  weston desktop-file-utils appstream dpkg-dev
  fonts-liberation fonts-dejavu-core
  fp-utils
  units
)

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
