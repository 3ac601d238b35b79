#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor.
# On a machine without a display: xvfb-run ./run.sh
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
if [ -x build/src/tagvane ]; then
  [ -d build/samples ] && echo "Sample MP3 files to try: $PWD/build/samples"
  exec build/src/tagvane "$@"
else
  echo "The engine is built; the editor window comes in a later step."
fi
