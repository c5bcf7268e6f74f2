#!/usr/bin/env bash
# Writes the linker version script of one shared library: every symbol stays exported
# except those of the libraries' internal namespaces (ios::*_internal, kp::*_internal)
# that nothing outside the library can reach. An internal symbol stays exported when an
# installed header names it (inline code and templates of the public headers call it)
# or when the other library's objects use it.
#
#   export-map.sh <nm> <output.map> <installed-headers> <objects> [<client-objects>]
#
# The last three arguments are files listing one path a line.
set -euo pipefail
nm=$1 output=$2 headers=$3 objects=$4 clients=${5:-}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The identifiers the installed headers use, comments left out.
xargs sed 's://.*$::' <"$headers" | grep -oE '[A-Za-z_][A-Za-z0-9_]*' | sort -u >"$scratch/words"
# What the other library takes from this one.
: >"$scratch/used"
if [ -n "$clients" ]; then
  xargs "$nm" --undefined-only <"$clients" | awk '$1 == "U" { print $2 }' | sort -u >"$scratch/used"
fi
xargs "$nm" --defined-only --extern-only <"$objects" | awk 'NF == 3 { print $3 }' | sort -u >"$scratch/defined"

awk -v words="$scratch/words" -v used="$scratch/used" '
  BEGIN {
    while ((getline w < words) > 0) known[w] = 1
    while ((getline u < used) > 0) needed[u] = 1
  }
  # A length-prefixed name at position p of s: sets name and returns the position after it.
  function component(s, p,   digits) {
    digits = ""
    while (substr(s, p, 1) ~ /[0-9]/) { digits = digits substr(s, p, 1); p++ }
    if (digits == "") { name = ""; return p }
    name = substr(s, p, digits + 0)
    return p + digits
  }
  {
    symbol = $0
    # Functions, data, typeinfo, vtables, guards and thunks whose name is nested in ios or kp.
    if (!match(symbol, /^_Z(T[IVS]|GV|Th[0-9n]*_|Tv[0-9n_]*_)?Z?N[KVRO]*(3ios|2kp)/)) next
    p = component(symbol, RSTART + RLENGTH - (substr(symbol, RSTART + RLENGTH - 4, 4) == "3ios" ? 4 : 3))
    p = component(symbol, p)
    if (name !~ /_internal$/) next
    p = component(symbol, p)
    if ((name != "" && name in known) || symbol in needed) next
    hidden[++count] = symbol
  }
  END {
    print "{"
    print "  global: *;"
    if (count > 0) {
      print "  local:"
      for (i = 1; i <= count; i++) print "    " hidden[i] ";"
    }
    print "};"
  }
' "$scratch/defined" >"$output.new"
mv "$output.new" "$output"
