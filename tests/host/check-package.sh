#!/usr/bin/env bash
# Builds the release ZIP with cpack, unpacks it and checks what it holds: the plug-in, the
# host, the README and the sample log; both binaries import only Windows system DLLs, and
# the plug-in exports exactly GetPlugin and ReleasePlugin.
#   check-package.sh BUILD_DIR WORK_DIR CPACK OBJDUMP
set -euo pipefail
build=$1 work=$2 cpack=$3 objdump=$4
rm -rf "$work/package" "$work/unpacked"
mkdir -p "$work/package" "$work/unpacked"

(cd "$build" && "$cpack" -G ZIP -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
zip=$(ls "$work"/package/Vaderur-*-win64.zip)
(cd "$work/unpacked" && cmake -E tar xf "$zip")
root="$work/unpacked/$(basename "$zip" .zip)"

status=0
for f in Vaderur.dll zentrix-host.exe README.md replay-4-cores.csv; do
  if [ -f "$root/$f" ]; then echo "packaged: $f"; else echo "MISSING from the package: $f"; status=1; fi
done

# Windows system DLLs (and the API sets of the universal C runtime) only.
system_dll='^(kernel32|user32|gdi32|gdiplus|shell32|comctl32|advapi32|ole32|oleaut32|msvcrt|ntdll|ucrtbase|comdlg32|shlwapi|version|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'
for f in Vaderur.dll zentrix-host.exe; do
  [ -f "$root/$f" ] || continue
  while read -r dll; do
    if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dll"; then
      echo "$f imports $dll"
    else
      echo "$f imports a DLL that is not part of Windows: $dll"; status=1
    fi
  done < <("$objdump" -p "$root/$f" | sed -n 's/^[[:space:]]*DLL Name: //p')
done

if [ -f "$root/Vaderur.dll" ]; then
  exports=$("$objdump" -p "$root/Vaderur.dll" |
            sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] //p' | sort | tr '\n' ' ')
  if [ "$exports" = "GetPlugin ReleasePlugin " ]; then
    echo "Vaderur.dll exports: $exports"
  else
    echo "Vaderur.dll should export exactly GetPlugin and ReleasePlugin, exports: $exports"; status=1
  fi
fi
exit $status
