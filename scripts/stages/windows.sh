#!/usr/bin/env bash
# The Windows build, tested under Wine: scripts/windows.sh cross-builds iconwright-cli.exe, its zip
# and the core's unit tests; the tests run under Wine, and scripts/windows-roads.sh compares the
# .exe's files with build/iconwright-cli's on five roads. Skipped, saying so, only where Wine
# cannot be installed.
set -euo pipefail
cd "$(dirname "$0")/../.."
[[ -x build/iconwright-cli ]] || scripts/build.sh iconwright-cli >/dev/null

started=$SECONDS
bash scripts/windows.sh --tests
echo "windows: cross build $((SECONDS - started)) s; iconwright-cli.exe $(stat -c %s build-windows/iconwright-cli.exe) bytes"

wine=/usr/lib/wine/wine64
if [[ ! -x $wine ]] && ! bash scripts/install-deps.sh --packages wine64 >/dev/null 2>&1; then
  echo "windows: SKIPPED the tests under Wine: the package wine64 could not be installed"
  exit 0
fi
export WINEPREFIX=$PWD/build-windows/wine-prefix WINEDEBUG=-all
began=$SECONDS
"$wine" cmd /c exit 0 >/dev/null 2>&1 || true  # makes the prefix (about 12 s the first time)
echo "windows: Wine prefix ready in $((SECONDS - began)) s"

# The unit tests of the core and the CLI. A test program run from its own folder, so that
# nothing it leaves lands elsewhere; the tests write only below the system's temporary folder.
# Left out on Windows, each for its reason:
#   the rows that expect POSIX's words for a failure ("Not a directory") where Windows has its own
#   ("Directory name invalid"), and its joined paths with "/" where Windows joins with "\":
#     CliFailure.StopsAtTheFailingStepWithOneLineNamingIt,
#     ExportUnit.ABadNameMakesNothingAndWhatStopsOneFileLeavesBothAsTheyWere
#   symbolic links, which Wine cannot make (and Windows only with a privilege):
#     ExtractGafFrames.StopsAtWhatCannotBeMadeAndNeverFollowsALinkBelowTheFolder
posix_only=CliFailure.StopsAtTheFailingStepWithOneLineNamingIt
posix_only+=:ExportUnit.ABadNameMakesNothingAndWhatStopsOneFileLeavesBothAsTheyWere
posix_only+=:ExtractGafFrames.StopsAtWhatCannotBeMadeAndNeverFollowsALinkBelowTheFolder
failures=0
for program in build-windows/tests/tests_*.exe; do
  began=$SECONDS
  if "$wine" "$program" --gtest_brief=1 --gtest_filter="-$posix_only" >"$program.log" 2>&1; then
    echo "windows: $(basename "$program") passed ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$program.log" | head -1), $((SECONDS - began)) s)"
  else
    echo "windows: $(basename "$program") FAILED:"
    cat "$program.log"
    failures=$((failures + 1))
  fi
done
bash scripts/windows-roads.sh || failures=$((failures + 1))
((failures == 0)) || { echo "windows: $failures part(s) failed" >&2; exit 1; }
