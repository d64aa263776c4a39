#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source differs from what the committed
# .clang-format makes of it. `--fix` rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == "--fix" ]]; then
    clang-format -i "${sources[@]}"
    exit 0
fi
bad=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1 | grep -o '^[^: ]*:[0-9]*:[0-9]*: error' | cut -d: -f1 | sort -u) || true
if [[ -n "$bad" ]]; then
    echo "Not formatted (run scripts/check-format.sh --fix):" >&2
    sed 's/^/  /' <<<"$bad" >&2
    exit 1
fi
