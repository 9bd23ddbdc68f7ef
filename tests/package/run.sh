#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a family gets it. Builds tintaro_<version>_<arch>.deb
# with scripts/package in BUILD_DIR, requires lintian to find no error,
# installs it with apt-get as a parent would, and runs the end-to-end tests
# against the installed /usr/bin/tintaro as an ordinary user (start-up,
# colouring, one copy at a time, no display, and printing, whose queue root
# sets up while the program runs as the user): a read-only installation and
# a per-user cache are what is tested. Then checks that nothing was written
# under the installation, and removes the package and whatever it brought,
# leaving the machine as it was. Prints the package's installed size and
# dependencies.
#   run.sh BUILD_DIR
# Needs root: it installs and removes packages, adds a user for the time of
# the test, and changes the CUPS set-up while printing is tested.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:?build folder for the package}")
readonly user=tintaro-e2e app=/usr/lib/tintaro

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
note() {
    echo "# $*" >&2
}
[ "$(id -u)" -eq 0 ] || fail "run.sh needs root: it installs the package and a test user"
if dpkg-query -W -f='${Status}' tintaro 2>/dev/null | grep -q 'ok installed'; then
    fail "tintaro is already installed here; remove it first (apt-get remove tintaro), so that the test finds the machine as it leaves it"
fi
started=$SECONDS

note "building the package in $build"
deb=$(bash "$source_dir/scripts/package" "$build" | tail -n1)
note "built $(basename "$deb") ($(du -k "$deb" | cut -f1) kB) in $((SECONDS - started)) s"

# Lintian's errors fail the test; its warnings and notes are listed.
lintian --fail-on error "$deb" >&2 ||
    fail "lintian reports errors in $(basename "$deb")"
# The copyright file is machine-readable and names every licence: lintian,
# down to its informational and pedantic tags, has nothing to say of it.
copyright_tags=$(lintian -I --pedantic "$deb" 2>/dev/null | grep -E ': copyright-' || true)
[ -z "$copyright_tags" ] || fail "lintian on the copyright file: $copyright_tags"

# Install as a parent would; remember what apt added, to take it away again.
added_user=""
installed_packages() {
    dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort
}
before="$(mktemp)"
installed_packages >"$before"
added=""
cleanup() {
    local status=$?
    set +e
    if [ -n "$added" ]; then
        # shellcheck disable=SC2086
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $added >/dev/null 2>&1
        dpkg-query -W -f='${Status}' tintaro 2>/dev/null | grep -q 'ok installed' && echo "FAIL: tintaro is still installed" >&2 && status=1
        [ ! -e "$app" ] || { echo "FAIL: $app is still there after the removal" >&2; status=1; }
    fi
    [ -n "$added_user" ] && userdel "$user"
    rm -f "$before"
    exit "$status"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null || fail "apt-get install $(basename "$deb") failed"
added=$(comm -13 "$before" <(installed_packages) | tr '\n' ' ')
note "apt-get installed: $added"
note "installed size $(dpkg-query -W -f='${Installed-Size}' tintaro) kB; depends on: $(dpkg-query -W -f='${Depends}' tintaro)"
[ "$(readlink -f /usr/bin/tintaro)" = "$app/tintaro" ] || fail "/usr/bin/tintaro does not lead to $app/tintaro"
[ "$(man -w tintaro 2>/dev/null)" = /usr/share/man/man6/tintaro.6.gz ] || fail "man tintaro does not find the manual page"
stamp=$(mktemp)

# An ordinary user, as on a family's computer.
if ! id "$user" >/dev/null 2>&1; then
    useradd --no-create-home --shell /usr/sbin/nologin --comment "Tintaro package tests" "$user"
    added_user=1
fi
[ "$(id -u "$user")" -ge 1000 ] || fail "$user is not an ordinary user (uid $(id -u "$user"))"

export E2E_USER=$user E2E_COMMAND=/usr/bin/tintaro
for test in startup colouring one_at_a_time no_display print; do
    test_started=$SECONDS
    bash "$source_dir/tests/e2e/$test.sh" "$app" || fail "$test.sh failed against the installed package"
    note "$test.sh passed against the installed package in $((SECONDS - test_started)) s"
done

# Nothing was written under the installation: every file is as packaged,
# and there is no file the package does not list.
changed=$(dpkg --verify tintaro || true)
[ -z "$changed" ] || fail "installed files changed: $changed"
extra=$(comm -23 <(find "$app" | sort) <(dpkg -L tintaro | grep "^$app" | sort))
[ -z "$extra" ] || fail "files appeared under $app: $extra"
newer=$(find "$app" -newer "$stamp")
[ -z "$newer" ] || fail "written under $app during the tests: $newer"
rm -f "$stamp"

note "the package test took $((SECONDS - started)) s"
echo "PASS: ${0##*/}" >&2
