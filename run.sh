#!/usr/bin/env bash
# Installs what building and running need, builds Zentaro (Release) and
# starts it with the sample data file beside the program.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh run

cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DZENTARO_TESTS=OFF -DZENTARO_BENCH=OFF
cmake --build build/run -j"$(nproc)" --target zentaro zentaro-cli zentaro_sample_data zentaro_help

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Zentaro is built (build/run/app/zentaro), but there is no display to show its window." >&2
  echo "On a machine without a desktop, start it under a virtual display (Debian package xvfb):" >&2
  echo "  xvfb-run -a build/run/app/zentaro" >&2
  exit 1
fi
exec build/run/app/zentaro
