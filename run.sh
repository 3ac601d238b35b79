#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor.
# On a machine without a display: xvfb-run ./run.sh
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
if [ -d build/samples ]; then
  echo "Sample MP3 files to try: $PWD/build/samples"
fi
exec build/src/tagvane "$@"
