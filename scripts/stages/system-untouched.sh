#!/usr/bin/env bash
# The set-up leaves the machine's apt configuration alone: /etc/apt is the same, byte for byte,
# after every stage as before the first (scripts/test.sh records it before installing anything).
set -euo pipefail
before="${IW_ETC_APT_BEFORE:-}"
if [[ -z $before || ! -f $before ]]; then
  echo "system-untouched: no record of /etc/apt from before the set-up (run through scripts/test.sh)" >&2
  exit 1
fi
if ! diff -u "$before" <(find /etc/apt -type f -print0 | sort -z | xargs -0 sha256sum); then
  echo "system-untouched: the set-up changed /etc/apt" >&2
  exit 1
fi
echo "system-untouched: /etc/apt is as it was before the set-up"
