#!/usr/bin/env bash
# Builds the release ZIP with cpack, unpacks it and checks what it holds: the plug-in, the
# host, the README and the sample log; both binaries import only Windows system DLLs, and
# the plug-in exports exactly GetPlugin and ReleasePlugin. Both binaries ship stripped, with
# their symbols beside the ZIP, and carry nothing of this build (no folder, time stamp 0).
# With WINE_RUN, the unpacked host runs the unpacked plug-in.
#   check-package.sh BUILD_DIR WORK_DIR CPACK OBJDUMP OBJCOPY [WINE_RUN]
set -euo pipefail
build=$1 work=$2 cpack=$3 objdump=$4 objcopy=$5 wine_run=${6:-}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$build" && pwd)
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
system_dll='^(kernel32|user32|gdi32|gdiplus|shell32|comctl32|advapi32|ole32|oleaut32|oleacc|msvcrt|ntdll|ucrtbase|comdlg32|shlwapi|version|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'
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

# Symbols apart: no debug sections in what users get, a debug file beside the ZIP, and a debug
# link in the binary that names that file and holds its CRC-32 (a debugger checks both).
for f in Vaderur.dll zentrix-host.exe; do
  [ -f "$root/$f" ] || continue
  symbols="$work/package/$f.debug"
  if "$objdump" -h "$root/$f" | grep -q ' \.debug_'; then
    echo "$f still carries debug sections"; status=1
  fi
  if [ ! -f "$symbols" ]; then
    echo "MISSING beside the package: $f.debug"; status=1; continue
  fi
  "$objdump" -h "$symbols" | grep -q ' \.debug_info ' || { echo "$f.debug holds no .debug_info"; status=1; }
  rm -f "$work/debuglink" "$work/copy"
  "$objcopy" --dump-section .gnu_debuglink="$work/debuglink" "$root/$f" "$work/copy" 2>/dev/null || true
  if [ ! -s "$work/debuglink" ]; then
    echo "$f has no debug link"; status=1; continue
  fi
  linked_name=$(head -c -4 "$work/debuglink" | tr -d '\0')
  linked_crc=$(tail -c 4 "$work/debuglink" | od -An -tx1 | tr -d ' \n')
  # gzip's trailer holds the CRC-32 of its input, in the byte order of the debug link.
  file_crc=$(gzip -c "$symbols" | tail -c 8 | head -c 4 | od -An -tx1 | tr -d ' \n')
  if [ "$linked_name" = "$f.debug" ] && [ "$linked_crc" = "$file_crc" ]; then
    echo "$f links to $f.debug (CRC $file_crc)"
  else
    echo "$f links to '$linked_name' CRC $linked_crc, beside the ZIP: $f.debug CRC $file_crc"; status=1
  fi
done

# Nothing of this build: no folder of it in the binaries or their symbols, and the PE time
# stamp 0 rather than the time of the link.
for f in "$root/Vaderur.dll" "$root/zentrix-host.exe" "$work"/package/*.debug; do
  [ -f "$f" ] || continue
  name=$(basename "$f") clean=1
  for folder in "$source_dir" "$build"; do
    if grep -aqF "$folder" "$f"; then echo "$name names the build folder $folder"; clean=0; fi
  done
  # The COFF header's TimeDateStamp: 8 bytes after the PE header that 0x3c points to.
  pe_header=$(od -An -tu4 -j 60 -N 4 "$f" | tr -d ' ')
  stamp=$(od -An -tu4 -j $((pe_header + 8)) -N 4 "$f" | tr -d ' ')
  [ "$stamp" = 0 ] || { echo "$name has the PE time stamp $stamp, not 0"; clean=0; }
  if [ $clean = 1 ]; then echo "$name: PE time stamp 0, no build folder"; else status=1; fi
done

# The stripped binaries still work together: a short run with an export, as a user's first.
if [ -n "$wine_run" ] && [ -f "$root/zentrix-host.exe" ] && [ -f "$root/Vaderur.dll" ]; then
  mkdir -p "$work/run"
  if (cd "$work/run" && "$wine_run" "$root/zentrix-host.exe" --source synthetic --cores 2 \
        --updates 5 --interval 20 --export >"$work/run.log" 2>&1) &&
     [ -s "$root/Core #0.png" ] && [ -s "$root/Core #1.png" ]; then
    echo "the unpacked host ran the unpacked plug-in and exported both panes"
  else
    echo "the unpacked host failed with the unpacked plug-in:"; cat "$work/run.log"; status=1
  fi
fi
exit $status
