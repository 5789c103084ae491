#!/usr/bin/env bash
# Pictures of the five child windows on the sample database, at 96 dpi and at 192 dpi, made
# on the offscreen platform and written to docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build --target mixora-screenshots sample-database -j"$(nproc)"
for scale in 1 2; do
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale \
        build/mixora-screenshots build/sample-database docs/screenshots
done
ls docs/screenshots
