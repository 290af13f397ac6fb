#!/bin/bash
# check_user_folders.sh BUILD_DIR: installs the build root-owned and starts it as a throwaway
# user, whose Objects and Workspaces must be made in ~/.local/share/brondelwick (beside a
# portable copy in the user's home instead). Exit 77 (skipped) when not root or without useradd.
set -u
build=$1
skip=77

if [[ $(id -u) -ne 0 ]]; then
    echo "skipped: making a throwaway user needs root"
    exit $skip
fi
for program in useradd userdel runuser timeout; do
    if ! command -v "$program" >/dev/null; then
        echo "skipped: $program is not installed"
        exit $skip
    fi
done

umask 022
tmp=$(mktemp -d /tmp/brondelwick-user-folders.XXXXXX) || exit 1
chmod 755 "$tmp"
user=bw$$$RANDOM
made_user=
cleanup() {
    [[ -n $made_user ]] && userdel -r "$user" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    exit 1
}

prefix=$tmp/prefix
home=$tmp/home
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install into $prefix"
useradd --home-dir "$home" --create-home --shell /bin/sh "$user" || fail "useradd $user"
made_user=yes
runtime=$tmp/runtime
mkdir -m 700 "$runtime" && chown "$user:" "$runtime" || fail "the runtime folder"

# Starts a program as the user with a clean environment; the window stays open until the
# timeout ends it, which is the only way it ends here.
start_as_user() {
    local status
    runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" \
        timeout 5 "$1" >"$tmp/output" 2>&1
    status=$?
    [[ $status -eq 124 ]] || fail "$1 as $user ended with status $status before the timeout: $(cat "$tmp/output")"
}

# Installed for the system: the user's own folders, none beside the program.
appdir=$(dirname "$(readlink -f "$prefix/bin/brondelwick")")
start_as_user "$prefix/bin/brondelwick"
data=$home/.local/share/brondelwick
for folder in Objects Workspaces; do
    [[ -d $data/$folder ]] || fail "installed for the system: $data/$folder was not made"
    [[ $(stat -c %U "$data/$folder") == "$user" ]] || fail "$data/$folder is not the user's own"
done
beside=$(ls -A "$appdir" | grep -v -x -e brondelwick -e brondelwick-tool)
[[ -z $beside ]] || fail "installed for the system: beside the program there is now: $beside"

# A portable copy in the user's home: the folders beside it, none in the user's data folder.
rm -rf "$data"
portable=$home/portable
cp -a "$appdir" "$portable" && chown -R "$user:" "$portable" || fail "the portable copy"
start_as_user "$portable/brondelwick"
for folder in Objects Workspaces; do
    [[ -d $portable/$folder ]] || fail "portable copy: $portable/$folder was not made"
done
[[ ! -e $data ]] || fail "portable copy: $data was made"
echo "the user's folders are in ~/.local/share/brondelwick for the installed program and beside a portable copy"
