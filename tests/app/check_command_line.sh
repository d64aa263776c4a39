#!/usr/bin/env bash
# The built program answers --help and --version, and refuses to start without a display,
# all without any display or Qt platform in its environment.
#   check_command_line.sh PROGRAM
set -uo pipefail
program=$1
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

# args | exit code | stdout pattern | stderr pattern (grep -E; empty: must be empty)
cases=(
    "--version|0|^Zav7305 1\.4\.0\.0$|"
    "--help|0|--version|"
    "-h|0|^Usage : .*Zav7305 \[--help\] \[--version\]$|"
    "|1||^.*Zav7305 : aucun écran graphique n'est disponible .*bureau\.$"
    "-style fusion|1||aucun écran graphique"
)
for row in "${cases[@]}"; do
    IFS='|' read -r args code stdout_re stderr_re <<<"$row"
    # shellcheck disable=SC2086  # the arguments split on purpose
    env -i PATH="$PATH" HOME="${HOME:-/tmp}" "$program" $args >"$out" 2>"$err"
    got=$?
    check() {  # stream file pattern
        if [[ -z "$3" ]]; then
            [[ ! -s "$2" ]] || { echo "FAIL '$args': $1 not empty:"; cat "$2"; failures=$((failures + 1)); }
        elif ! grep -Eq -- "$3" "$2"; then
            echo "FAIL '$args': $1 does not match $3:"; cat "$2"; failures=$((failures + 1))
        fi
    }
    [[ $got -eq $code ]] || { echo "FAIL '$args': exit $got, expected $code"; failures=$((failures + 1)); }
    check stdout "$out" "$stdout_re"
    check stderr "$err" "$stderr_re"
    if [[ $code -eq 1 && $(wc -l <"$err") -ne 1 ]]; then
        echo "FAIL '$args': stderr is not one line"; failures=$((failures + 1))
    fi
done
[[ $failures -eq 0 ]] && echo "command line checked: ${#cases[@]} cases"
exit $((failures > 0))
