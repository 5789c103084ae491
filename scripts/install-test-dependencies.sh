#!/usr/bin/env bash
# Installs what the tests need beyond the build, when any is missing: Node.js, npm,
# clang-format and pdftotext (poppler-utils, reads the printed page back) as Debian packages,
# and the npm packages of the file format cross-check (tests/formats).
set -euo pipefail
cd "$(dirname "$0")/.."

# These may come from elsewhere than Debian's packages, so the commands are looked for.
missing=()
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
command -v pdftotext >/dev/null || missing+=(poppler-utils)
command -v clang-format >/dev/null || missing+=(clang-format)
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# node_modules keeps a copy of the lock file it was installed from.
formats=tests/formats
installed_lock=$formats/node_modules/.installed-package-lock.json
if ! cmp -s "$formats/package-lock.json" "$installed_lock"; then
    echo "Installing the npm packages of $formats"
    (cd "$formats" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$formats/package-lock.json" "$installed_lock"
fi
