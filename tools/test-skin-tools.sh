#!/usr/bin/env bash
# The skin tools end to end: pack a folder twice to the same bytes, list entries, sections,
# skin objects and colours, extract and decode the archive, and see a damaged archive end in
# an error and a non-zero exit.
set -uo pipefail
pack=$1
info=$2
dir=$3
rm -rf "$dir"
mkdir -p "$dir/skin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

le32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
# A 4 x 2 bitmap of 24 bits, rows of 12 bytes needing no padding.
bmp4x2() {
    printf 'BM'; le32 78; le32 0; le32 54
    le32 40; le32 4; le32 2; printf '\x01\x00\x18\x00'; le32 0; le32 24; le32 0; le32 0; le32 0; le32 0
    head -c 24 /dev/zero | tr '\0' '\200'
}
printf '[TitlebarSkin]\r\nSkinName=Tool test\r\n[Personality]\r\nTop=frame.bmp\r\nTopFrame=2\r\nTextBack=title.bmp\r\n' >"$dir/skin/Skin.ini"
printf '[Colours]\r\nButtonFace=30,20,10\r\n[BUTTON1]\r\nAction=2\r\nButtonImage=frame.bmp\r\n' >>"$dir/skin/Skin.ini"
bmp4x2 >"$dir/skin/frame.bmp"
head -c 3000 /dev/urandom >"$dir/skin/title.bmp"
printf 'BM small' >"$dir/skin/Button.BMP"
printf 'not part of a skin' >"$dir/skin/readme.txt"

"$pack" "$dir/skin" "$dir/a.skn" >/dev/null || fail "skinpack exited $?"
"$pack" "$dir/skin" "$dir/b.skn" >/dev/null || fail "second skinpack exited $?"
cmp -s "$dir/a.skn" "$dir/b.skn" || fail "two packs of one folder differ"
# The stored form a form keeps: the archive's byte count, little-endian, then the archive.
"$pack" --stored "$dir/a.skn" "$dir/a.stored" || fail "skinpack --stored exited $?"
[[ $(head -c 4 "$dir/a.stored" | od -An -tu4 | tr -d ' ') == $(stat -c %s "$dir/a.skn") ]] || fail "stored count"
cmp -s <(tail -c +5 "$dir/a.stored") "$dir/a.skn" || fail "stored bytes differ from the archive"

listing=$("$info" "$dir/a.skn") || fail "skininfo list exited $?"
grep -q '^version 20000, 4 entries$' <<<"$listing" || fail "listing header: $listing"
grep -qE '^ +3000  title\.bmp$' <<<"$listing" || fail "listing lacks title.bmp with its size: $listing"
grep -qE '^ +8  button\.bmp$' <<<"$listing" || fail "listing lacks button.bmp: $listing"
grep -q 'readme' <<<"$listing" && fail "listing holds a file that is no skin part"
grep -q '^definition: skin\.ini$' <<<"$listing" || fail "listing names no definition: $listing"
grep -q '^4 sections$' <<<"$listing" || fail "listing lacks the section count: $listing"
grep -q '^  \[Personality\]$' <<<"$listing" || fail "listing lacks a section: $listing"
grep -q '^skin name: Tool test$' <<<"$listing" || fail "listing lacks the skin name: $listing"
grep -qE '^  Top +4x2 +2  0,0,0,0 +1 +1 +0$' <<<"$listing" || fail "listing lacks the Top border: $listing"
grep -qE '^  Title +0x0 +2 ' <<<"$listing" || fail "a title image that is no bitmap still shows: $listing"
grep -qE '^  Track +16x4 +1  3,3,3,3 ' <<<"$listing" || fail "listing lacks the built-in track: $listing"
grep -qE '^  BUTTON1 +4x2 +3 .*action 2 ' <<<"$listing" || fail "listing lacks the caption button: $listing"
grep -qE '^   3 ButtonFace +0x000A141E$' <<<"$listing" || fail "listing lacks the skin's ButtonFace: $listing"
grep -qE '^   0 WindowText +0xFF000008  default$' <<<"$listing" || fail "listing lacks a default colour: $listing"

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
