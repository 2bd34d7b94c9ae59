#!/usr/bin/env bash
# The house style in .clang-format.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/check-format.sh
