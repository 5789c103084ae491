#!/usr/bin/env bash
# Builds the editor and starts it. On the first start its "Data" folder (build/Data) receives
# the bundled sample database; later starts keep whatever the editor saved there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ ! -e build/Data ]; then
    mkdir build/Data
    cp build/sample-database/*.Dat build/Data/
fi
exec build/mixora-editor
