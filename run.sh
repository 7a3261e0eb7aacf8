#!/usr/bin/env bash
# Installs what is missing, builds the game (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps
cmake --preset release >/dev/null
cmake --build --preset release
exec build-release/zephyra "$@"
