#!/bin/sh
# Turns a readable UTF-8 resource script into the cp932 script windres reads.
# windres is not double-byte aware inside string literals: a character whose
# trail byte is 0x5C ("表", "ソ", "能") would lose it as an escape, so that
# byte is doubled. The scan steps over whole characters, so a lead-range byte
# that is itself a trail byte never starts a pair.
# Usage: rc-to-cp932.sh input.rc output.rc
set -e
iconv -f UTF-8 -t CP932 "$1" |
    perl -0777 -pe 's/([\x81-\x9F\xE0-\xFC])([\x40-\xFC])/$2 eq "\x5C" ? "$1\x5C\x5C" : "$1$2"/ge' \
    > "$2.tmp"
mv "$2.tmp" "$2"
