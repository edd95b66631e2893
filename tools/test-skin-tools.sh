#!/usr/bin/env bash
# The skin tools end to end: pack a folder twice to the same bytes, list, extract and decode
# the archive, and see a damaged archive end in an error and a non-zero exit.
set -uo pipefail
pack=$1
info=$2
dir=$3
rm -rf "$dir"
mkdir -p "$dir/skin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

printf '[TitlebarSkin]\r\nSkinName=Tool test\r\n' >"$dir/skin/Skin.ini"
head -c 3000 /dev/urandom >"$dir/skin/title.bmp"
printf 'BM small' >"$dir/skin/Button.BMP"
printf 'not part of a skin' >"$dir/skin/readme.txt"

"$pack" "$dir/skin" "$dir/a.skn" >/dev/null || fail "skinpack exited $?"
"$pack" "$dir/skin" "$dir/b.skn" >/dev/null || fail "second skinpack exited $?"
cmp -s "$dir/a.skn" "$dir/b.skn" || fail "two packs of one folder differ"

listing=$("$info" "$dir/a.skn") || fail "skininfo list exited $?"
grep -q '^version 20000, 3 entries$' <<<"$listing" || fail "listing header: $listing"
grep -qE '^ +3000  title\.bmp$' <<<"$listing" || fail "listing lacks title.bmp with its size: $listing"
grep -qE '^ +8  button\.bmp$' <<<"$listing" || fail "listing lacks button.bmp: $listing"
grep -q 'readme' <<<"$listing" && fail "listing holds a file that is no skin part"

"$info" extract "$dir/a.skn" TITLE.BMP "$dir/title.out" || fail "extract exited $?"
cmp -s "$dir/skin/title.bmp" "$dir/title.out" || fail "extracted entry differs from its file"
"$info" extract "$dir/a.skn" missing.bmp "$dir/missing.out" 2>"$dir/err" && fail "extracting a missing entry succeeded"
grep -q 'no entry named missing.bmp' "$dir/err" || fail "missing entry message: $(cat "$dir/err")"

"$info" decode "$dir/a.skn" "$dir/payload" >/dev/null || fail "decode exited $?"
[[ $(head -c 4 "$dir/payload" | od -An -tu4 | tr -d ' ') == 20000 ]] || fail "payload does not start with the version"

# A length field of -1: refused before decoding.
printf '\xff\xff\xff\xff\x00' >"$dir/bad.skn"
"$info" "$dir/bad.skn" 2>"$dir/err" && fail "a bad archive listed without error"
grep -q 'negative payload length' "$dir/err" || fail "bad archive message: $(cat "$dir/err")"
# A payload of an unknown version.
printf '\x00\x00\x00\x00' >"$dir/old.skn"
"$info" "$dir/old.skn" 2>"$dir/err" && fail "an archive of no version listed without error"
grep -q 'unknown version 0' "$dir/err" || fail "old archive message: $(cat "$dir/err")"
mkdir -p "$dir/two"
touch "$dir/two/a.ini" "$dir/two/b.ini"
"$pack" "$dir/two" "$dir/two.skn" 2>"$dir/err" && fail "a folder with two definitions packed"
grep -q 'exactly one .ini' "$dir/err" || fail "two definitions message: $(cat "$dir/err")"

if [[ $failures -ne 0 ]]; then
    echo "skin tools: $failures checks failed"
    exit 1
fi
echo "skin tools: every check passed"
