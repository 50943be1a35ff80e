#!/bin/sh
# Checks a built agent image without running it: undecorated exports and a
# shared, writable data section. Used for the 32-bit agent, which cannot run here.
set -e
dll="$1"; objdump="$2"
[ -f "$dll" ] || { echo "missing $dll"; exit 1; }
exports=$("$objdump" -p "$dll")
for name in DllMain AgentHookProc hookAgent spyWindow; do
    echo "$exports" | grep -Eq "\][[:space:]]+$name\$" \
        || { echo "export $name missing or decorated"; echo "$exports" | grep -A12 'Ordinal/Name'; exit 1; }
done
"$objdump" -h "$dll" | grep -A1 ' \.shared ' | grep -q 'SHARED' || { echo "no shared .shared section"; exit 1; }
echo "$dll: exports and shared section ok"
