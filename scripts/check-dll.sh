#!/usr/bin/env bash
# check-dll.sh DLL [EXPORT...]: the Windows module exports VSTPluginMain and
# main only (or exactly the EXPORTs named: clap_entry for the CLAP plug-in)
# and imports only DLLs that every Windows has (the system's and the C
# runtime), as x86_64-w64-mingw32-objdump -p reads its tables.
set -euo pipefail
dll=${1:?usage: check-dll.sh DLL [EXPORT...]}
shift
expected=("$@")
[ ${#expected[@]} -gt 0 ] || expected=(VSTPluginMain main)
wanted=$(printf '%s\n' "${expected[@]}" | sort | tr '\n' ' ')
table=$(x86_64-w64-mingw32-objdump -p "$dll") || { echo "check-dll.sh: cannot read $dll" >&2; exit 1; }
status=0

# The name table's rows ("[Ordinal/Name Pointer] Table") read "[   0] VSTPluginMain"; sorted, they must be
# exactly the entry names expected.
exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^\s*\[ *[0-9]*\] *//p' | sort | tr '\n' ' ')
if [ "$exports" != "$wanted" ]; then
  echo "check-dll.sh: exports $(wc -w <<<"$exports") names ('$(cut -d' ' -f1-5 <<<"$exports")...'), expected '${wanted% }'" >&2
  status=1
fi

allowed='^(kernel32|user32|gdi32|ole32|shell32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
imports=$(printf '%s\n' "$table" | sed -n 's/^\s*DLL Name: //p')
for name in $imports; do
  if ! printf '%s\n' "$name" | tr '[:upper:]' '[:lower:]' | grep -Eq "$allowed"; then
    echo "check-dll.sh: imports $name, which not every Windows has" >&2
    status=1
  fi
done
[ -n "$imports" ] || { echo "check-dll.sh: no import table found" >&2; status=1; }
[ $status -eq 0 ] && echo "check-dll.sh: exports ${wanted% }; imports $(echo $imports)"
exit $status
