#!/usr/bin/env bash
# Prints the registry lines (REGEDIT4) that define a capture printer: a spooler printer
# whose port is a Unix file receiving each RAW job byte for byte.
# Usage: capture-printer.sh BUILD_DIR add NAME FILE    -- defines the printer
#        capture-printer.sh BUILD_DIR default NAME FILE -- makes it the default printer
set -euo pipefail
name=$3
file=$4
case "$2" in
add)
    cat <<REG
[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\$name]
"Name"="$name"
"Port"="$file"
"Print Processor"="WinPrint"
"Datatype"="RAW"
"Printer Driver"="Generic / Text Only"
"Attributes"=dword:00000040

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices]
"$name"="winspool,$file"

REG
    ;;
default)
    cat <<REG
[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]
"Device"="$name,winspool,$file"

REG
    ;;
*)
    echo "usage: capture-printer.sh BUILD_DIR add|default NAME FILE" >&2
    exit 2
    ;;
esac
