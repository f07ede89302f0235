#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The layers hold. The low layers (the core of platform/, the store, the working folder, the
# practice judge and record, the handwriting recognisers, the C-library plumbing, the picture
# conversion and the store
# builder) include no header of Qt's widget, print or network modules and no header of a
# higher folder. No file includes another
# folder's private header, and every private header refuses to compile outside its folder.
# Usage: layers_test.sh SOURCE_DIR CXX QT_MODULE_INCLUDE_DIR...  (…/qt6/QtWidgets, …)
set -euo pipefail
root=$1
cxx=$2
shift 2
cd "$root"

failures=0
fail() {
    echo "layers: $*"
    failures=$((failures + 1))
}

# The header names of the forbidden Qt modules: <QWidget>, <QtWidgets/QWidget>, <QtWidgets>.
declare -A forbidden=()
for module in "$@"; do
    [ -d "$module" ] || { echo "layers: no Qt module folder $module"; exit 2; }
    name=$(basename "$module")
    forbidden[$name]=$name
    for header in "$module"/*; do
        forbidden[$(basename "$header")]=$name
    done
done

# Every source and header of the project, without build folders and installed packages.
mapfile -t sources < <(find . \( -path ./node_modules -o -path './build*' -o -path ./.git \) -prune \
    -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.cpp.in' \) -print |
    sed 's#^\./##' | sort)

low_layer='^(platform|commandline|translations|geometry|store|workfolder|jpeg|ffmpeg|facts|practice|handwriting|tools/store_builder|strokes/pictures)/'

includes() {  # FILE -> one include a line, as <name> or "name"
    sed -n -E 's@^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"][^>"]+[>"]).*@\1@p' "$1"
}

for file in "${sources[@]}"; do
    [[ $file =~ $low_layer ]] || continue
    while IFS= read -r include; do
        name=${include:1:${#include}-2}
        if [[ $include == \<* ]]; then
            module=${name%%/*}
            if [ -n "${forbidden[$name]:-}" ] || { [[ $name == */* ]] && [ -n "${forbidden[$module]:-}" ]; }; then
                fail "$file includes $include of ${forbidden[$name]:-$module}, above the low layers"
            fi
        elif [[ $name == */* ]] && ! [[ $name =~ $low_layer ]]; then
            fail "$file includes \"$name\", a header above the low layers"
        fi
    done < <(includes "$file")
done

# The stroke geometry is the model everything else builds on: it reaches no other folder.
for file in "${sources[@]}"; do
    [[ $file == geometry/* ]] || continue
    while IFS= read -r include; do
        name=${include:1:${#include}-2}
        if [[ $include == \"* ]] && [[ $name == */* ]] && [[ $name != geometry/* ]]; then
            fail "$file includes \"$name\"; the geometry stands below every other folder"
        fi
    done < <(includes "$file")
done

# The store's callers ask it typed questions; its queries and cursors stay inside it (and its
# own white-box tests).
store_area='^(store|tests/store|bench/store|tests/fuzz/store)/'
for file in "${sources[@]}"; do
    [[ $file =~ $store_area ]] && continue
    if grep -n -E '\bstore::Query\b|\bsetParamAsString\(|\b(query2|querybs|tablenextprev)\b' "$file" |
        grep -v -E '^[0-9]+:[[:space:]]*//' >/dev/null; then
        fail "$file reaches a query or cursor of store/; ask the character store instead"
    fi
done

# Private headers, known by their guard: QIR_<NAME>_INTERNALS (a folder's own) or
# QIR_<NAME>_PLUMBING (a C library's plumbing, for the folders that link it).
declare -A allowed=()  # header -> regular expression of the paths that may include it
for file in "${sources[@]}"; do
    [[ $file == *.h ]] || continue
    guard=$(sed -n -E 's/^#ifndef (QIR_[A-Z_]+_(INTERNALS|PLUMBING))$/\1/p' "$file" | head -n 1)
    [ -n "$guard" ] || continue
    folder=$(dirname "$file")
    area=${folder%%/*}
    if [[ $guard == *_INTERNALS ]]; then
        # The folder itself and its own white-box tests, benchmarks and fuzzers.
        allowed[$file]="^($folder/|(tests|bench|tests/fuzz)/$area/)"
    else
        # The folders whose build files link the plumbing library.
        users=$(grep -l -E "\bqir_$(basename "$folder")\b" --include=CMakeLists.txt -r . |
            grep -v -E '^\./(build|node_modules)' | sed -E 's#^\./##; s#/?CMakeLists.txt$##' |
            paste -sd '|')
        allowed[$file]="^($folder/|(${users:-none})/)"
    fi
    # Outside its folder it must not compile.
    probe=$(printf '#include "%s"\n' "$file" |
        "$cxx" -std=c++20 -fsyntax-only -I"$root" -x c++ - 2>&1) && status=0 || status=$?
    if [ "$status" -eq 0 ] || ! grep -q -F "$file" <<<"$probe" || ! grep -q '#error' <<<"$probe"; then
        fail "$file compiles outside its folder; its guard $guard does not hold"
    fi
done
[ ${#allowed[@]} -gt 0 ] || { echo "layers: no private header found"; exit 2; }

for file in "${sources[@]}"; do
    while IFS= read -r include; do
        [[ $include == \"* ]] || continue
        name=${include:1:${#include}-2}
        pattern=${allowed[$name]:-}
        if [ -n "$pattern" ] && ! [[ $file =~ $pattern ]]; then
            fail "$file includes \"$name\", which is private to $(dirname "$name")/"
        fi
    done < <(includes "$file")
done

echo "layers: ${#sources[@]} files, ${#allowed[@]} private headers checked; $failures fault(s)"
[ "$failures" -eq 0 ]
