#!/usr/bin/env bash
# Renders every page and sub-page of the main window to build/screenshots/*.png,
# offscreen, through the window layout test. Another build folder can be given:
#   scripts/screenshots.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target tagvane_tests_ui
out="$PWD/$build/screenshots"
rm -rf "$out"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen TAGVANE_SCREENSHOT_DIR="$out" \
  "$build/tests/tagvane_tests_ui" --gtest_filter='LayoutTest.*:PicturesPage.ChoosingARow*:PicturesPage.ReplacedPicture*'
ls "$out"/*.png
