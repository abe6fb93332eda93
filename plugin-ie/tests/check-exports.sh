#!/bin/sh
# Static check of the 32-bit plug-in: its export table names exactly the
# three exports, undecorated; the object file defines PluginExecute with the
# standard calling convention (_PluginExecute@12, three arguments) and the
# two argument-less exports as plain C names. No 32-bit code runs.
# Usage: check-exports.sh Skiffport.vap Skiffport.cpp.obj
set -eu
# objdump's headings are matched as the untranslated tool prints them.
export LC_ALL=C
vap=$1
obj=$2
names="PlugInIcon
PlugInName
PluginExecute"
exported=$(i686-w64-mingw32-objdump -p "$vap" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] //p' | sort)
if [ "$exported" != "$names" ]; then
    printf 'exports of %s differ:\nexpected:\n%s\nfound:\n%s\n' "$vap" "$names" "$exported"
    exit 1
fi
symbols=$(i686-w64-mingw32-nm "$obj")
for symbol in _PluginExecute@12 _PlugInName _PlugInIcon; do
    if ! printf '%s\n' "$symbols" | grep -q " T $symbol\$"; then
        echo "$obj does not define $symbol"
        exit 1
    fi
done
echo "3 exports, undecorated; PluginExecute defined as _PluginExecute@12"
