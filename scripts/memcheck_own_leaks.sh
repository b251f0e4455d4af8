#!/usr/bin/env bash
# Prints each definite leak in a memcheck log (written with --fullpath-after=) whose stack passes
# through a source file under ROOT, and exits 1 if there is one. Leaks wholly inside the
# system's libraries (X11, drivers) are theirs; leaks the libraries keep for good on our behalf
# are named in valgrind.supp.
#   memcheck_own_leaks.sh LOG ROOT
set -euo pipefail
log=$1
root=$(realpath "$2")
awk -v root="$root/" '
  / are definitely lost in loss record / { record = $0 "\n"; inside = 1; ours = 0; next }
  inside && /^==[0-9]+== *$/ {
    if (ours) { printf "%s", record; found = 1 }
    inside = 0
    next
  }
  inside {
    record = record $0 "\n"
    if (index($0, "(" root) > 0 || index($0, "(in " root) > 0) ours = 1
  }
  END { exit found ? 1 : 0 }
' "$log"
