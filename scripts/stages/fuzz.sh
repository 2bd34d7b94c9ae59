#!/usr/bin/env bash
# The fuzz targets, briefly, from their seed corpora.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/fuzz-smoke.sh
