#!/usr/bin/env bash
# Installs what is missing and builds the editor, its tests and the sample database in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
# clang, so that the loaders' fuzz targets are built too.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build -j"$(nproc)"
