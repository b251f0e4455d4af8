#!/usr/bin/env bash
# debian_source_entries.sh CODENAME APTDIR OUTDIR: the source entries (deb-src) that match the
# Debian archive entries configured in APTDIR (normally /etc/apt), written to OUTDIR as
# debian-src.list and debian-src.sources for an apt of our own. Only entries of the release
# CODENAME (and its -updates, -security ... suites) are taken, so that other vendors' archives,
# which may have no sources, are left out. No host name is written here: each entry keeps the
# archive, keys and components the machine is configured with.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: debian_source_entries.sh CODENAME APTDIR OUTDIR" >&2
  exit 2
fi
codename=$1
aptdir=$2
out=$3
mkdir -p "$out"

# One-line form: "deb [options] URI SUITE COMPONENT...".
lists=()
[ -f "$aptdir/sources.list" ] && lists+=("$aptdir/sources.list")
for f in "$aptdir"/sources.list.d/*.list; do
  [ -f "$f" ] && lists+=("$f")
done
: > "$out/debian-src.list"
if [ ${#lists[@]} -gt 0 ]; then
  awk -v codename="$codename" '
    $1 == "deb" {
      i = 2
      if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
      suite = $(i + 1)
      if (suite == codename || index(suite, codename "-") == 1) {
        sub(/^[ \t]*deb/, "deb-src")
        print
      }
    }' "${lists[@]}" >> "$out/debian-src.list"
fi

# deb822 form: paragraphs of fields; a field may go on in lines that start with a space.
: > "$out/debian-src.sources"
for f in "$aptdir"/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  awk -v codename="$codename" '
    function flush(   i, n, s, keep, suites) {
      keep = types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) != "no"
      n = split(suitelist, suites, /[ \t]+/)
      match_suite = 0
      for (i = 1; i <= n; i++) {
        if (suites[i] == codename || index(suites[i], codename "-") == 1) match_suite = 1
      }
      if (keep && match_suite) {
        print "Types: deb-src"
        for (i = 1; i <= count; i++) print body[i]
        print ""
      }
      count = 0; types = ""; suitelist = ""; enabled = ""
    }
    /^#/ { next }
    /^[ \t]*$/ { if (count > 0 || types != "") flush(); next }
    /^Types:/ { types = substr($0, 7); field = "Types"; next }
    /^[ \t]/ { if (field != "Types") body[++count] = $0; next }
    {
      field = $0; sub(/:.*/, "", field)
      if (field == "Suites") suitelist = substr($0, 8)
      if (field == "Enabled") { enabled = substr($0, 9); gsub(/[ \t]/, "", enabled) }
      body[++count] = $0
    }
    END { if (count > 0 || types != "") flush() }' "$f" >> "$out/debian-src.sources"
done

if [ ! -s "$out/debian-src.list" ] && [ ! -s "$out/debian-src.sources" ]; then
  echo "debian_source_entries: no Debian $codename archive is configured in $aptdir" >&2
  exit 1
fi
