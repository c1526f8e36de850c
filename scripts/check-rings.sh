#!/usr/bin/env bash
# The rings on disk: no file of a lower ring includes a header of a higher one.
#   portable core  src/core, src/skin/data, src/app/core, src/config/core
#                  standard C++ headers and portable headers only: no Windows (or other
#                  system) header, nothing of the toolkit, the platform or the program
#   platform and toolkit  src/platform, src/ui, src/skin/ui
#                  nothing of the program (src/app, src/config outside their core/ folders)
# And no ring between folders: no folder includes a folder that includes it back, directly or
# through others. A folder is the directory a file lies in, its sub-folders apart: src/app,
# src/app/core, src/config, src/config/core, src/core, src/platform, src/skin/data,
# src/skin/ui, src/ui. (src/app/core is a folder of its own: the bar's portable rules may be
# used by the platform code the bar itself uses.)
# Prints every offending line and fails if there is one.
#   check-rings.sh [ROOT]      (default: this work tree)
#   check-rings.sh --self-test  shows that the check fails on each kind of violation
set -euo pipefail
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")

if [[ ${1:-} == --self-test ]]; then
    # shellcheck source=self-test-plant.sh
    source "$(dirname "$self")/self-test-plant.sh"
    self_test_plants check-rings 'src/app/core/TypingPlan.h:#include <windows.h>' 'src/core/Errors.cpp:#include "ui/Controls.h"' \
                 'src/skin/data/IniFile.cpp:#include "platform/Registry.h"' 'src/config/core/SchemeName.cpp:#include "winuser.h"' \
                 'src/platform/Registry.cpp:#include "app/ButtonFormDialog.h"' 'src/ui/Forms.h:#include "config/About.h"' \
                 'src/skin/ui/SkinDib.cpp:#include "../app/main.cpp"' 'src/config/About.cpp:#include "app/ButtonFormDialog.h"' \
                 'src/app/core/TypingPlan.cpp:#include "platform/WidePaths.h"'
    [[ $failed -eq 0 ]] && echo "check-rings self-test: ok"
    exit $failed
fi

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
portable=(src/core src/skin/data src/app/core src/config/core)
lower=(src/platform src/ui src/skin/ui)

# Every include of the given folders (not their sub-folders: src/app/core is not src/app)
# as "file:line:text". A folder that is gone fails the check: a renamed ring must not make
# it pass by finding nothing.
includes() {
    local dir files
    for dir in "$@"; do
        files=$(find "$root/$dir" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)
        if [[ -z $files ]]; then
            echo "check-rings: $dir has no sources; update scripts/check-rings.sh" >&2
            return 1
        fi
        # shellcheck disable=SC2086
        grep -HnE '^[[:space:]]*#[[:space:]]*include' $files || true
    done
}

portable_out=$(includes "${portable[@]}")
lower_out=$(includes "${lower[@]}")

# Portable: <...> must be a standard C++ header (never "x.h"); "..." must be a portable header
# or one beside the including file.
bad_portable=$(awk '
    match($0, /#[[:space:]]*include[[:space:]]*[<"][^>"]*[>"]/) {
        inc = substr($0, RSTART, RLENGTH); sub(/^#[[:space:]]*include[[:space:]]*/, "", inc)
        name = substr(inc, 2, length(inc) - 2)
        if (inc ~ /^</) { if (name ~ /\.h(pp)?$/) print; next }
        if (name ~ /\.\./) { print; next }
        if (name ~ /^(core|skin\/data|app\/core|config\/core)\//) next
        if (name !~ /\//) {   # beside the file, or a system header written with quotes
            file = substr($0, 1, index($0, ":") - 1); sub(/[^\/]*$/, "", file)
            found = (getline line < (file name)) >= 0; close(file name)
            if (found) next
        }
        print
    }' <<<"$portable_out")
# Platform and toolkit: nothing from the program.
bad_lower=$(awk '
    match($0, /#[[:space:]]*include[[:space:]]*"[^"]*"/) {
        inc = substr($0, RSTART, RLENGTH); sub(/^#[[:space:]]*include[[:space:]]*/, "", inc)
        name = substr(inc, 2, length(inc) - 2)
        if (name ~ /\.\./ || (name ~ /^(app|config)\// && name !~ /^(app|config)\/core\//)) print
    }' <<<"$lower_out")

# Folder to folder: "including-folder included-folder" for each include of another folder.
folders=(src/app src/app/core src/config src/config/core src/core src/platform src/skin/data src/skin/ui src/ui)
edges=$(includes "${folders[@]}" | awk -v root="$root/" '
    match($0, /#[[:space:]]*include[[:space:]]*"[^"]*"/) {
        inc = substr($0, RSTART, RLENGTH); sub(/^#[[:space:]]*include[[:space:]]*"/, "", inc); sub(/"$/, "", inc)
        if (inc !~ /\//) next                         # beside the file: the same folder
        file = substr($0, 1, index($0, ":") - 1); sub("^" root, "", file); sub(/\/[^\/]*$/, "", file)
        to = "src/" inc; sub(/\/[^\/]*$/, "", to)
        if (to != file) print file, to
    }' | sort -u)
rings=$(awk '{ e[$1 " " $2] = 1 } END { for (k in e) { split(k, p, " "); if ((p[2] " " p[1]) in e && p[1] < p[2]) print p[1] " <-> " p[2] } }' <<<"$edges")
loop=$(tsort <<<"$edges" 2>&1 >/dev/null | grep -v '^tsort: -: input contains a loop:$' | sed 's/^tsort: //' || true)

status=0
if [[ -n $rings || -n $loop ]]; then
    echo "check-rings: folders include each other:" >&2
    [[ -n $rings ]] && sed 's/^/  /' <<<"$rings" >&2
    [[ -n $loop ]] && echo "  a ring through: $(tr '\n' ' ' <<<"$loop")" >&2
    status=1
fi
if [[ -n $bad_portable ]]; then
    echo "check-rings: the portable core includes a system header or a header of a higher ring:" >&2
    sed "s#^$root/##" <<<"$bad_portable" >&2
    status=1
fi
if [[ -n $bad_lower ]]; then
    echo "check-rings: platform or toolkit code includes a header of the program:" >&2
    sed "s#^$root/##" <<<"$bad_lower" >&2
    status=1
fi
[[ $status -eq 0 ]] && echo "check-rings: ok ($(wc -l <<<"$portable_out") portable and $(wc -l <<<"$lower_out") platform/toolkit includes, $(wc -l <<<"$edges") folder links without a ring)"
exit $status
