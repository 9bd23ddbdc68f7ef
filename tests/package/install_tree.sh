#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` lays out, installed under /usr into a scratch root:
# one application directory with the program, its companion and every asset
# (and no MY_PICTURE: nothing is written under an installation), bin/tintaro
# as a relative link to the program there, and the desktop integration,
# checked with the desktop's own validators: the menu entry
# (desktop-file-validate), the AppStream description together with the
# entry it launches (appstreamcli validate-tree), the icon at every hicolor
# size, and the manual page (man --warnings).
#   install_tree.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=${1:?build folder}
source_dir=${2:?source folder}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli identify man; do
    command -v "$tool" >/dev/null || fail "missing tool: $tool (run scripts/install-deps --test)"
done

root=$(mktemp -d "${TMPDIR:-/tmp}/tintaro-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$root.log" 2>&1 || { cat "$root.log" >&2; rm -f "$root.log"; fail "cmake --install failed"; }
rm -f "$root.log"
usr="$root/usr"
app="$usr/lib/tintaro"

# The application directory: the two programs and exactly the asset tree.
[ -x "$app/tintaro" ] || fail "no program at /usr/lib/tintaro/tintaro"
[ -x "$app/COLORS.EXE" ] || fail "no companion at /usr/lib/tintaro/COLORS.EXE"
differences=$(diff -r --exclude=tintaro --exclude=COLORS.EXE "$source_dir/assets" "$app" || true)
[ -z "$differences" ] || fail "the application directory differs from assets/: $differences"
[ ! -e "$app/MY_PICTURE" ] || fail "MY_PICTURE is installed: the program would write under the installation"

# The command: a relative link, so that the tree works under any prefix.
link=$(readlink "$usr/bin/tintaro") || fail "/usr/bin/tintaro is not a link"
[ "${link#/}" = "$link" ] || fail "/usr/bin/tintaro points to an absolute path: $link"
[ "$(readlink -f "$usr/bin/tintaro")" = "$(readlink -f "$app/tintaro")" ] || fail "/usr/bin/tintaro points to $link"

# The menu entry: valid, starting the command, with the icon and the
# window class the program uses.
entry="$usr/share/applications/tintaro.desktop"
[ -f "$entry" ] || fail "no menu entry"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry"
value() {
    sed -n "s/^$1=//p" "$entry"
}
[ "$(value Exec)" = tintaro ] || fail "the entry starts '$(value Exec)'"
[ "$(value Icon)" = tintaro ] || fail "the entry's icon is '$(value Icon)'"
[ "$(value StartupWMClass)" = tintaro ] || fail "the entry expects the window class '$(value StartupWMClass)'"
[ "$(value Categories)" = "Education;Art;KidsGame;" ] || fail "the entry's categories are '$(value Categories)'"

# The AppStream description, validated with the entry it names.
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree rejects the installation"

# The icon: a PNG of each size, and the SVG it is rendered from.
for size in 16 22 24 32 48 64 128 256 512; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/tintaro.png"
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    got=$(identify -format '%m %wx%h' "$png")
    [ "$got" = "PNG ${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done
cmp -s "$source_dir/art/ui/icon.svg" "$usr/share/icons/hicolor/scalable/apps/tintaro.svg" ||
    fail "the scalable icon is not art/ui/icon.svg"

# The manual page: found in section 6, and formatted without a warning.
page="$usr/share/man/man6/tintaro.6.gz"
[ -f "$page" ] || fail "no manual page tintaro(6)"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
for text in --windowed Ctrl+P Ctrl+R Ctrl+X Super+Escape /usr/lib/tintaro; do
    LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | grep -qF -- "$text" || fail "the manual page does not mention $text"
done

# Debian wants these two in the package's documentation folder.
[ -f "$usr/share/doc/tintaro/copyright" ] || fail "no copyright file"
gzip -t "$usr/share/doc/tintaro/changelog.gz" || fail "no compressed changelog"
echo "PASS: ${0##*/}" >&2
