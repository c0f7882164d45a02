#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that every source file of the project names its licence in an
# SPDX-License-Identifier line within its first five lines: C++ sources
# and headers, CMake files, shell scripts, the Debian build rules, manual
# pages and the desktop files. Test data, pictures and documents (the
# Windows archive's README.txt among them) are not looked at. Any file
# without the line fails the script, which lists them.
set -euo pipefail
cd "$(dirname "$0")/.."

listed=$(git ls-files '*.cpp' '*.h' '*.in' ':!*.txt.in' '*.cmake' '*CMakeLists.txt' '*.sh' '*.desktop' '*.[18]' \
    .ci/run debian/rules)
[ -n "$listed" ] || { echo "check-licence: git lists no sources to check" >&2; exit 1; }

missing=0
while read -r file; do
    if ! head -n 5 "$file" | grep -q 'SPDX-License-Identifier: '; then
        echo "no SPDX-License-Identifier line: $file"
        missing=$((missing + 1))
    fi
done <<<"$listed"
echo "check-licence: $(wc -l <<<"$listed") files, $missing without the line"
[ "$missing" -eq 0 ]
