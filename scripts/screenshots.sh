#!/usr/bin/env bash
# Makes the README's pictures on the offscreen platform from the sample database of the build:
# the five child windows at 96 dpi and at 192 dpi (docs/screenshots/) and the Database Check
# window (docs/database-check.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build --target mixora-screenshots screenshot_database_check sample-database \
    -j"$(nproc)"
for scale in 1 2; do
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale \
        build/mixora-screenshots build/sample-database docs/screenshots
done
QT_QPA_PLATFORM=offscreen build/screenshot_database_check build/sample-database \
    docs/database-check.png
ls docs/screenshots docs/database-check.png
