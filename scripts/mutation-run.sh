#!/usr/bin/env bash
# A mutation run: each realistic fault below is put into the source on its own, the one test
# program that should notice it is rebuilt and run, and the source is put back. Every fault must
# make that program fail; the table at the end says which test caught each one.
#
#   scripts/mutation-run.sh            every fault
#   scripts/mutation-run.sh 3 7        only faults 3 and 7
#
# Uses the build folder build/ (BUILD=... for another), configured as scripts/build.sh does.
# The source files are restored even when the run is interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build}"

# name @ file @ sed expression (applied to that file) @ test program
mutations=(
  "dithering without serpentine rows@src/import/MapToPalette.cpp@s/const bool leftToRight = y % 2 == 0;/const bool leftToRight = true;/@tests_import"
  "3/16 of the error pushed ahead instead of behind@src/import/MapToPalette.cpp@s/const auto behind = static_cast<std::size_t>(static_cast<int>(cell) - step);/const auto behind = static_cast<std::size_t>(static_cast<int>(cell) + step);/@tests_import"
  "error-adjusted colour not held to the colour cube@src/import/MapToPalette.cpp@s/wanted\[c\] = std::clamp(linear\[samples\[c\]\] + here\[cell\]\[c\], 0.0f, 1.0f);/wanted[c] = linear[samples[c]] + here[cell][c];/@tests_import"
  "dithered report measures the adjusted colour@src/import/MapToPalette.cpp@/void MapDithered/,/^}/ s/matcher.Distance(pixel, index)/matcher.Distance(Colour{asked[0], asked[1], asked[2]}, index)/@tests_import"
  "V3 (56-byte) header's alpha mask ignored@src/imagefiles/BmpTruecolour.cpp@s/header.HeaderSize >= kV3HeaderSize/header.HeaderSize > kV3HeaderSize/@tests_import"
  "truecolour BMP: last row's padding required@src/imagefiles/BmpTruecolour.cpp@s/stride \* (rows - 1) + rowBytes/stride * rows/@tests_import"
  "palette BMP: last row's padding required@src/imagefiles/BmpDecoder.cpp@s/stride \* (rows - 1) + rowBytes/stride * rows/@tests_imagefiles"
  "PCX import's width off by one@src/imagefiles/PictureDecoders.cpp@s/ColouredIndices(decoded->LastX + 1,/ColouredIndices(decoded->LastX + 2,/@tests_import"
  "GAF skip packet ending at the row's width refused@src/gaf/GafReader.cpp@/if (control & 1) {/,/x += count;/ s/count > width - x/count >= width - x/@tests_gaf"
  "control-character rule misses DEL (GAF entry names)@src/gaf/ControlCharacters.h@s/b < 0x20 || b == 0x7F/b < 0x20/@tests_gaf"
  "control-character rule misses DEL (CLI messages)@src/gaf/ControlCharacters.h@s/b < 0x20 || b == 0x7F/b < 0x20/@tests_cli"
  "PNG and JPEG pixel limit off by one@src/imagefiles/PictureDecoders.cpp@s/if (width \* height > maxPixels)/if (width * height >= maxPixels)/@tests_import"
  "GAF frame pixel limit off by one@src/gaf/GafReader.cpp@s/if (pixels > limits_.MaxFramePixels)/if (pixels >= limits_.MaxFramePixels)/@tests_gaf"
  "palette BMP pixel limit off by one@src/imagefiles/BmpDecoder.cpp@s/layout.Width \* layout.Height > imagefiles::kMaxPicturePixels/layout.Width * layout.Height >= imagefiles::kMaxPicturePixels/@tests_import"
  "BMP read limit off by one@src/imagefiles/BmpDecoder.cpp@s/if (toRead > imagefiles::kMaxReadBytes)/if (toRead >= imagefiles::kMaxReadBytes)/@tests_import"
  "PCX pixel limit off by one@src/imagefiles/modPCX.cpp@s/if (pixelCount > imagefiles::kMaxPicturePixels)/if (pixelCount >= imagefiles::kMaxPicturePixels)/@tests_import"
  "þ not upper-cased@src/gaf/Windows1252.cpp@s/b >= 0xE0 && b <= 0xFE && b != 0xF7/b >= 0xE0 \&\& b < 0xFE \&\& b != 0xF7/@tests_gaf"
  "--trim and --strict swapped@src/cli/CliImportSteps.cpp@s/(kind == CliStepKind::Trim ? settings.Trim : settings.Strict)/(kind == CliStepKind::Trim ? settings.Strict : settings.Trim)/@tests_cli"
  "#colour after a picture background keeps the picture@src/cli/CliImportSteps.cpp@/settings.BackgroundFrame.reset();/d@tests_cli"
  "halves rounded up, not to even, in whole-number division@src/import/RoundHalfEven.h@s/(twiceRemainder == denominator && quotient % 2 == 1)/(twiceRemainder == denominator)/@tests_import"
  "nearest colour: a tie at 765 replaces index 255@src/imagefiles/PaletteColumns.cpp@s/smallest >= kFarthest && FallsBackTo255/smallest > kFarthest \&\& FallsBackTo255/@tests_imagefiles"
  "import match: avoided 255 kept as the fallback@src/import/PaletteMatcher.cpp@s/AllowedIndices(avoid), !avoid\[255\])/AllowedIndices(avoid), true)/@tests_import"
  "OS/2 core header's colours read as 4 bytes@src/imagefiles/BmpDecoder.cpp@s/layout.PaletteEntrySize = core ? 3 : 4;/layout.PaletteEntrySize = 4;/@tests_imagefiles"
  "negative BMP height not read as top-down@src/imagefiles/BmpDecoder.cpp@s/layout.TopDown = \*height < 0;/layout.TopDown = false;/@tests_imagefiles"
  "Catmull-Rom middle weight wrong@src/import/FitPicture.cpp@s/(3 \* t3 - 5 \* t2 + 2) \/ 2/(3 * t3 - 5 * t2 + 1) \/ 2/@tests_import"
  "box filter overlap one unit short@src/import/FitPicture.cpp@s/std::min((k + 1) \* scaled, high)/std::min((k + 1) * scaled, high - 1)/@tests_import"
  "trim keeps one row too few@src/import/FitPicture.cpp@s/bottom = y + 1;/bottom = y;/@tests_import"
  "composite rounds down@src/import/Composite.cpp@s/+ 127) \/ 255/) \/ 255/@tests_import"
)

backup_dir="$(mktemp -d)"
restore() {
  for saved in "$backup_dir"/*; do
    [[ -e "$saved" ]] || continue
    original="$(basename "$saved" | tr '%' '/')"
    cp -p "$saved" "$original" && touch "$original"
  done
  rm -rf "$backup_dir"
}
trap restore EXIT

selected=("$@")

# Every selected fault must change its file: a pattern that matches nothing (the code moved or
# was reworded) would make the run look cleaner than it is, so the run stops before building.
stale=0
for i in "${!mutations[@]}"; do
  number=$((i + 1))
  if ((${#selected[@]})) && [[ " ${selected[*]} " != *" $number "* ]]; then continue; fi
  IFS='@' read -r name file expression program <<<"${mutations[$i]}"
  if [[ ! -f "$file" ]] || sed -e "$expression" "$file" | cmp -s - "$file"; then
    echo "mutation-run: fault $number ($name) changes nothing in $file: update its sed line" >&2
    stale=$((stale + 1))
  fi
done
if ((stale)); then
  echo "mutation-run: $stale faults no longer apply; nothing was run" >&2
  exit 2
fi

results=()
missed=0
for i in "${!mutations[@]}"; do
  number=$((i + 1))
  if ((${#selected[@]})) && [[ " ${selected[*]} " != *" $number "* ]]; then continue; fi
  IFS='@' read -r name file expression program <<<"${mutations[$i]}"
  saved="$backup_dir/$(tr '/' '%' <<<"$file")"
  cp -p "$file" "$saved"
  sed -i -e "$expression" "$file"
  if cmp -s "$file" "$saved"; then
    results+=("$number@$name@NOT APPLIED (the pattern matches nothing)")
    missed=$((missed + 1))
    cp -p "$saved" "$file" && rm "$saved"
    continue
  fi
  if ! cmake --build "$build" --target "$program" -j2 >/dev/null 2>&1; then
    verdict="does not compile"
    missed=$((missed + 1))
  else
    log="$(mktemp)"
    if "$build/tests/$program" --gtest_brief=1 >"$log" 2>&1; then
      verdict="SURVIVED"
      missed=$((missed + 1))
    else
      verdict="caught by $(grep -o '^\[  FAILED  \] [A-Za-z0-9_]*\.[A-Za-z0-9_]*' "$log" | sed 's/^\[  FAILED  \] //' | sort -u | paste -sd, -)"
    fi
    rm -f "$log"
  fi
  results+=("$number@$name@$verdict")
  cp -p "$saved" "$file" && rm "$saved"
  touch "$file"
  echo "mutation $number: $name: $verdict" >&2
done

printf '\n%s\n' "| # | fault | result |"
printf '%s\n' "|---|---|---|"
for row in "${results[@]}"; do
  IFS='@' read -r number name verdict <<<"$row"
  printf '| %s | %s | %s |\n' "$number" "$name" "$verdict"
done
# Rebuild what was touched, so the build folder holds the real program again.
cmake --build "$build" -j2 --target tests_imagefiles tests_gaf tests_import tests_cli >/dev/null 2>&1 || true
if ((missed)); then
  echo "mutation-run: $missed of ${#results[@]} faults not caught" >&2
  exit 1
fi
echo "mutation-run: all ${#results[@]} faults caught" >&2
