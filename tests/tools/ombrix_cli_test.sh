#!/usr/bin/env bash
# The ombrix tool end to end: loads, cache reports, SVG pre-pass output and refusals.
set -u
ombrix=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expect DESCRIPTION PATTERN OUTPUT
  if ! grep -qE -- "$2" <<<"$3"; then
    echo "FAIL: $1: no line matching '$2' in:"
    echo "$3"
    failures=$((failures + 1))
  fi
}

expect_status() {  # expect_status DESCRIPTION WANTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: exit status $3, wanted $2"
    failures=$((failures + 1))
  fi
}

python3 "$here/make_png.py" "$work/icon.png" 64 64

out=$("$ombrix" load "$work/icon.png" --mipmaps --out "$work/levels" 2>&1)
expect_status "first load" 0 $?
expect "levels" "^level 6 1x1 " "$out"
expect "flags" "^flags 0x8504$" "$out"
expect "filter" "^filter 6$" "$out"
expect "first load decodes" "^cache miss$" "$out"
[ -s "$work/levels/level0.png" ] || { echo "FAIL: level0.png not written"; failures=$((failures + 1)); }

out=$("$ombrix" load "$work/icon.png" --size 64x64 --mipmaps 2>&1)
expect "second load is served from the cache" "^cache hit$" "$out"

out=$("$ombrix" load "$work/icon.png" --size 64x64 --mipmaps --max-levels 3 2>&1)
expect "capped chain is not served by the full one" "^cache miss$" "$out"
expect "capped levels" "^level 2 16x16" "$out"

out=$("$ombrix" cache "$work/.mipcache/icon.png_64x64.mipmap" 2>&1)
expect_status "cache report" 0 $?
expect "cache magic" "^magic 0x4D495043 \(CPIM\)$" "$out"
expect "cache levels" "^levels 3$" "$out"
expect "cache valid" "^status valid$" "$out"
touch -d '2001-01-01' "$work/icon.png"
out=$("$ombrix" cache "$work/.mipcache/icon.png_64x64.mipmap" 2>&1)
expect "stale cache" "^status source changed" "$out"

printf '<svg width="10.5mm" height="2in"><rect style="paint-order:stroke" fill="red" stroke="blue" width="4" height="4"/></svg>' >"$work/a.svg"
out=$("$ombrix" prepass "$work/a.svg" --blur 2>&1)
expect_status "prepass --blur" 0 $?
expect "prepass root size" "^root size 40x192$" "$out"

# Why a load gave no texture, or an incomplete one, in words.
printf 'hello' >"$work/text.png"
for case in "absent.png|1|no such file" "text.png|1|not decodable"; do
  IFS='|' read -r file status words <<<"$case"
  out=$("$ombrix" load "$work/$file" 2>&1)
  expect_status "load of $file" "$status" $?
  expect "status of $file" "^status $words$" "$out"
done
out=$("$ombrix" load "$work/icon.png" --size 32x32 --mipmaps --fail-lock 2 2>&1)
expect_status "a refused lock still gives a texture" 0 $?
expect "refused lock" "^status level 2 could not be locked$" "$out"
expect "refused lock filter" "^filter 2$" "$out"

# An SVG's premultiplied levels are written as straight-alpha files: the fill's own colour.
printf '<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"><rect width="8" height="8" fill="#ff8000" fill-opacity="0.5"/></svg>' >"$work/half.svg"
out=$("$ombrix" load "$work/half.svg" --out "$work/half" 2>&1)
expect "the texture's own alpha" "^alpha premultiplied, files written with straight alpha$" "$out"
out=$(python3 -c "import sys; sys.path.insert(0, '$here'); from png_pixels import read_rgba; print(read_rgba('$work/half/level0.png')[2][4][4])")
expect "half-transparent fill keeps its colour" "^\\(25[45], 12[6-9], 0, 12[78]\\)$" "$out"
out=$("$ombrix" load "$work/half.svg" --size 16x16 2>&1)
expect "no viewBox, not scaled" "^note the document has no viewBox" "$out"
out=$("$ombrix" cache "$work/half.svg" 2>&1)
expect_status "cache of a file that is not one" 1 $?
expect "says it is no cache file" "is not a mip cache file" "$out"
"$ombrix" load "$work/icon.png" --size 64 >/dev/null 2>&1
expect_status "bad size" 1 $?
"$ombrix" load >/dev/null 2>&1
expect_status "no file" 1 $?
out=$("$ombrix" icon "$work/icon.png" --size 32x32 --out "$work/icon32.png" --grey 2>&1)
expect_status "icon from a PNG" 0 $?
expect "icon size" "^icon 32x32$" "$out"
expect "PNG alpha is straight already" "^source png, straight alpha kept$" "$out"
"$ombrix" icon "$work/icon.png" >/dev/null 2>&1
expect_status "icon without --out" 1 $?
out=$("$ombrix" icon "$work/text.png" --out "$work/text32.png" 2>&1)
expect_status "icon that does not decode" 1 $?
expect "says why there is no icon" "no texture for '.*text.png': not decodable$" "$out"
"$ombrix" frobnicate >/dev/null 2>&1
expect_status "unknown command" 1 $?
printf 'CPIM\1\0' >"$work/short.mipmap"
"$ombrix" cache "$work/short.mipmap" >/dev/null 2>&1
expect_status "short cache file" 1 $?

[ $failures -eq 0 ] && echo "ombrix tool: all checks passed"
exit $((failures != 0))
