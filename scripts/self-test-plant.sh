# Sourced by the source checks' --self-test: a check that finds nothing passes too, so each
# plant ("FILE:LINE", FILE relative to the copy) is appended to a fresh copy of src/ in turn
# and the check ($self) must fail on it; the unplanted copy must pass. Sets `failed` (0 or 1).
#   self_test_plants NAME PLANT...
self_test_plants() {
    local name=$1 plant file
    shift
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    cp -r "$(cd "$(dirname "$self")/../src" && pwd)" "$scratch/src"
    failed=0
    for plant in "$@"; do
        file=$scratch/${plant%%:*}
        cp "$file" "$scratch/keep"
        echo "${plant#*:}" >>"$file"
        if "$self" "$scratch" >/dev/null 2>&1; then
            echo "$name self-test: not caught: ${plant%%:*} with ${plant#*:}" >&2
            failed=1
        fi
        mv "$scratch/keep" "$file"
    done
    "$self" "$scratch" >/dev/null || failed=1
}
