#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Static checks of the project's own sources: the licence line of every
# source file (check-licence.sh), the layout (clang-format), clang-tidy
# with the checks in .clang-tidy, and cppcheck. Any finding
# fails the script. Generated files (the build folders, moc output) are
# not looked at. Suppressions sit in the code, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh clang-format clang-tidy cppcheck clang libclang-rt-dev python3

# A failing git (for example in a clone another user owns, which git
# refuses) must fail the stage, not leave it nothing to check.
listed=$(git ls-files '*.cpp' '*.h')
mapfile -t sources <<<"$listed"
[ -n "$listed" ] || { echo "check-static: git lists no sources to check" >&2; exit 1; }

echo "== licence lines"
scripts/check-licence.sh

echo "== clang-format"
clang-format --dry-run --Werror "${sources[@]}"

# One compilation database for everything that is ours: the program and
# its tests as the ci preset builds them, and the fuzz targets.
cmake --preset ci >/dev/null
cmake --preset fuzz >/dev/null
mkdir -p build/static
python3 - "$PWD" <<'PY'
import json, os, sys
root = sys.argv[1]
entries = []
for preset in ("ci", "fuzz"):
    with open(os.path.join(root, "build", preset, "compile_commands.json")) as f:
        entries += json.load(f)
seen = set()
own = []
for entry in entries:
    path = os.path.relpath(entry["file"], root)
    if path.startswith("build" + os.sep) or path in seen:
        continue
    seen.add(path)
    own.append(entry)
with open(os.path.join(root, "build", "static", "compile_commands.json"), "w") as f:
    json.dump(own, f, indent=1)
PY
listed=$(python3 -c 'import json; print("\n".join(e["file"] for e in json.load(open("build/static/compile_commands.json"))))')
mapfile -t units <<<"$listed"
[ -n "$listed" ] || { echo "check-static: the compilation database names no sources" >&2; exit 1; }

echo "== clang-tidy (${#units[@]} files)"
run-clang-tidy -p build/static -j "$(nproc)" -quiet "${units[@]}" >build/static/clang-tidy.log 2>&1 || {
    grep -E -A3 '(warning|error):' build/static/clang-tidy.log | head -n 60
    echo "clang-tidy: findings above (all of them in build/static/clang-tidy.log)" >&2
    exit 1
}

echo "== cppcheck"
cppcheck --enable=warning,performance,portability --library=googletest --library=qt --library=posix \
    --project=build/static/compile_commands.json -j "$(nproc)" --inline-suppr --error-exitcode=1 -q \
    --template='{file}:{line}: {severity} ({id}): {message}'
