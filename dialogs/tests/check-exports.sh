#!/bin/sh
# Static check of the 32-bit dialogs library: its export table names exactly
# the 15 exports, undecorated, and the exports' object file defines each
# with the standard calling convention's name, _Name@N with N = 4 x the
# argument count. Runs on the build host; no 32-bit code runs.
# Usage: check-exports.sh Formbay.dll Exports.cpp.obj
set -eu
# The objdump headings parsed below are the untranslated ones.
export LC_ALL=C
dll=$1
obj=$2
expected="ShowSettingDlg@24 ShowPlgSettingDlg@24 ShowScriptSettingDlg@24 ShowPtabSCDlg@24
ShowPtabTempDlg@24 ShowProxySettingDlg@24 ShowOpenDlg@12 ShowPFindDlg@16 ShowPtabCustom@12
ShowPtabRename@12 ShowAboutDlg@28 ShowDlgWide@8 ShowPostedDlg@12 ShowAddPopup@8 StartupAddDlg@16"

names=$(for e in $expected; do echo "${e%@*}"; done | sort)
# The name column of the export table's name-pointer part (its lines are
# "[ordinal] name"; the part's heading is left out).
exported=$(i686-w64-mingw32-objdump -p "$dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] //p' | sort)
if [ "$exported" != "$names" ]; then
    echo "exports of $dll differ:"
    printf 'expected:\n%s\nfound:\n%s\n' "$names" "$exported"
    exit 1
fi
symbols=$(i686-w64-mingw32-nm "$obj")
for e in $expected; do
    if ! printf '%s\n' "$symbols" | grep -q " T _$e\$"; then
        echo "$obj does not define _$e"
        exit 1
    fi
done
echo "15 exports, undecorated, each defined as _Name@N"
