#!/usr/bin/env bash
# Makes the pictures of the README (docs/*.png) with Qt's offscreen platform, from the sample
# database of the build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build --target screenshot_database_check sample-database -j"$(nproc)"
QT_QPA_PLATFORM=offscreen build/screenshot_database_check build/sample-database \
    docs/database-check.png
