#!/usr/bin/env bash
# Installs what is missing and runs every stage of the checks, printing each stage's time:
#
#   format            the house style
#   build             everything built with warnings as errors; the unit and window tests
#   sanitize          the core tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz              the fuzz targets, briefly
#   screenshots       the window under Xvfb, with screenshots under build/
#   web               the web page built with emscripten and tested in headless chromium
#   package           the Debian package built, unpacked into a scratch root and run; lintian
#   windows           iconwright-cli cross-built for Windows; its unit tests and roads under Wine
#   system-untouched  /etc/apt unchanged by the set-up
#
# A developer runs some stages alone by naming them: bash scripts/test.sh build sanitize
# Each stage is scripts/stages/<name>.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

all_stages=(format build sanitize fuzz screenshots web package windows system-untouched)
if (($#)); then stages=("$@"); else stages=("${all_stages[@]}"); fi
for stage in "${stages[@]}"; do
  [[ -x scripts/stages/$stage.sh ]] || { echo "test.sh: no stage named $stage (scripts/stages/$stage.sh)" >&2; exit 2; }
done

# What /etc/apt holds before the set-up, for the last stage to compare with.
export IW_ETC_APT_BEFORE="${IW_ETC_APT_BEFORE:-$(mktemp)}"
[[ -s $IW_ETC_APT_BEFORE ]] || find /etc/apt -type f -print0 | sort -z | xargs -0 sha256sum >"$IW_ETC_APT_BEFORE"

started=$SECONDS
scripts/install-deps.sh
echo "== set-up: $((SECONDS - started)) s"

times=("set-up $((SECONDS - started)) s")
for stage in "${stages[@]}"; do
  echo "== $stage"
  began=$SECONDS
  scripts/stages/"$stage".sh
  times+=("$stage $((SECONDS - began)) s")
  echo "== $stage: $((SECONDS - began)) s"
done
summary="$(printf '%s, ' "${times[@]}")"
echo "== stage times: ${summary%, }; total $((SECONDS - started)) s"
