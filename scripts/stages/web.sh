#!/usr/bin/env bash
# The web page: built with emscripten into build-web/ (scripts/web.sh) and driven in Debian's
# chromium by tests/web/, which compare every downloaded file with iconwright-cli's. Skipped, with
# a line saying so, only where emscripten or chromium cannot be installed.
set -euo pipefail
cd "$(dirname "$0")/../.."

# node and npm may come from another package than Debian's (nodejs with npm inside): only a
# missing command is installed.
tools=(emscripten chromium python3)
command -v node >/dev/null || tools+=(nodejs)
command -v npm >/dev/null || tools+=(npm)
if ! scripts/install-deps.sh --packages "${tools[@]}"; then
  echo "web: SKIPPED: emscripten or chromium could not be installed on this machine"
  exit 0
fi
for source in zlib libjpeg-turbo libspng; do scripts/install-deps.sh --source "$source"; done

# The CLI the tests compare with (the build stage has usually made it already).
[[ -x build/iconwright-cli ]] || IW_WERROR=ON scripts/build.sh iconwright-cli
bash scripts/web.sh
node --test tests/web/
