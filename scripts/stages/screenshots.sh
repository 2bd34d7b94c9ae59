#!/usr/bin/env bash
# The window under a virtual X server, worked from the keyboard, with screenshots under build/.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/screenshot.sh
