#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file, script and artwork source of the project says its
# licence in its first lines: GPL-3.0-or-later, and CC0-1.0 for the
# AppStream metadata. A new file without the tag fails here. Where
# licensecheck is installed, it reads the same files as a second opinion
# (it names the GPL's version, not the "or later").
#   licence_tags.sh SOURCE_DIR
set -euo pipefail
cd "${1:?source folder}"

# The project's files: what git tracks, or in an unpacked source archive
# every file outside the build folders.
if git rev-parse --git-dir >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files)
else
    mapfile -t files < <(find . -type f -not -path './build*' -not -path './.git/*' | sed 's|^\./||' | sort)
fi

wanted() {
    case "$1" in
    *.metainfo.xml) echo CC0-1.0 ;;
    *) echo GPL-3.0-or-later ;;
    esac
}

missing=()
checked=()
for f in "${files[@]}"; do
    case "$f" in
    # Pictures, sounds and music carry no text; the Debian changelog and
    # copyright files have formats of their own (the copyright file says
    # the licence of everything).
    *.JPG | *.GIF | *.WAV | *.wav | *.png | *.ICO | *.MID | *.mid | packaging/debian/changelog | packaging/debian/copyright) continue ;;
    esac
    checked+=("$f")
    head -n 3 "$f" | grep -q "SPDX-License-Identifier: $(wanted "$f")\( \|\$\)" || missing+=("$f")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: ${#missing[@]} files lack 'SPDX-License-Identifier: GPL-3.0-or-later' in their first lines:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "${#checked[@]} files carry their licence tag"

if command -v licensecheck >/dev/null 2>&1; then
    other=$(licensecheck --shortname-scheme=spdx --check '.*' --lines 5 "${checked[@]}" |
        grep -vE ': .*(GPL-3|CC0-1\.0)$' || true)
    [ -z "$other" ] || { echo "FAIL: licensecheck reads another licence or none:" >&2; echo "$other" >&2; exit 1; }
    echo "licensecheck agrees on all ${#checked[@]}"
fi
