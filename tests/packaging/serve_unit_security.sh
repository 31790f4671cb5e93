#!/bin/sh
# The service's sandbox, as systemd rates it: 3.0 ("OK") or below, or the test fails. Skipped
# (exit 77) where systemd-analyze is missing or cannot rate a unit file offline (before
# systemd 250).
#   serve_unit_security.sh UNIT_FILE
set -u
unit=$1
limit=3.0

if ! command -v systemd-analyze >/dev/null 2>&1; then
    echo "skipped: no systemd-analyze"
    exit 77
fi
if ! report=$(systemd-analyze security --offline=yes --no-pager "$unit" 2>&1); then
    case $report in
        *"unrecognized option"* | *"Unknown option"*)
            echo "skipped: this systemd-analyze rates no unit file offline"
            exit 77 ;;
    esac
fi
printf '%s\n' "$report"
# A setting systemd does not understand is left out of the rating: the unit must have none.
if printf '%s\n' "$report" | grep -E "Unknown (key|section)|Invalid syntax|Failed to parse" >/dev/null; then
    echo "FAIL: systemd does not understand a line of $unit"
    exit 1
fi
score=$(printf '%s\n' "$report" | sed -n 's/.*Overall exposure level for [^:]*: \([0-9.]*\).*/\1/p')
if [ -z "$score" ]; then
    echo "FAIL: no overall exposure level in systemd-analyze's report"
    exit 1
fi
if awk -v score="$score" -v limit="$limit" 'BEGIN { exit !(score <= limit) }'; then
    echo "kr820-serve.service rates $score, at most $limit"
else
    echo "FAIL: kr820-serve.service rates $score, above $limit"
    exit 1
fi
