#!/usr/bin/env bash
# Installs what is missing, builds the game (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release --target zephyra
exec build-release/zephyra "$@"
