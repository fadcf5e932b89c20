#!/usr/bin/env bash
# Usage: test-in.sh RELEASE [COMMAND...]   e.g. test-in.sh trixie, test-in.sh bookworm bash
# Runs COMMAND (default: the README's test command, bash scripts/test.sh) in a fresh Debian
# RELEASE chroot, on a copy of this tree: the files git knows, as they are in the working tree,
# never a build folder. The release's minbase system is made once with debootstrap from the
# archive this machine uses and kept in $KORVEL_CHROOT_CACHE/RELEASE/base (default
# /var/cache/korvel-video-setup; delete base/ to make it again), with the downloaded packages
# beside it in debs/, shared by every run. Every run starts from that untouched base (an overlay
# whose changes are thrown away), so nothing of an earlier run, its build least of all, is reused. The chroot runs
# in mount and PID namespaces of its own: its mounts and every process it started (X servers,
# buses, compositors) end with it, whatever way it ends. Needs root (asks sudo otherwise).
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 RELEASE [COMMAND...]" >&2; exit 2; }
if [ "$(id -u)" -ne 0 ]; then exec sudo -E bash "$0" "$@"; fi
release=$1
shift
[ $# -gt 0 ] || set -- bash scripts/test.sh
cd "$(dirname "$0")/.."

cache=${KORVEL_CHROOT_CACHE:-/var/cache/korvel-video-setup}/$release
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
mkdir -p "$cache/debs/partial"

# One base a release, made once; a second caller waits for the first.
(
    flock 9
    [ -d "$cache/base" ] && exit 0
    bash scripts/install-deps.sh >&2
    rm -rf "$cache/base.new"
    start=$SECONDS
    debootstrap --variant=minbase --cache-dir="$cache/debs" "$release" "$cache/base.new" "$mirror" >&2
    cat >"$cache/base.new/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb ${mirror%/debian}/debian-security $release-security main
EOF
    mv "$cache/base.new" "$cache/base"
    echo "== $release base made in $((SECONDS - start)) s: $cache/base" >&2
) 9>"$cache/lock"

run=$(mktemp -d "$cache/run.XXXXXX")
pid=
cleanup() {
    # unshare ignores SIGTERM and SIGINT while it waits; killed, it takes the whole chroot along.
    [ -z "$pid" ] || { kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true
    # Packages this run fetched join the shared ones (links, never overwriting).
    find "$run/debs" -maxdepth 1 -name '*.deb' -exec cp -aln -t "$cache/debs" {} + 2>/dev/null || true
    rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
mkdir -p "$run"/{root,upper,work}
# Each run its own apt cache, of links to the shared packages: runs side by side share no apt lock.
cp -al "$cache/debs" "$run/debs"
rm -f "$run/debs/lock"  # a lock of its own, not a link to one that another run may hold

# No fsync after every file dpkg unpacks: the chroot is thrown away, and it saves minutes.
mkdir -p "$run/upper/etc/dpkg/dpkg.cfg.d"
echo force-unsafe-io >"$run/upper/etc/dpkg/dpkg.cfg.d/korvel-unsafe-io"

# The tree as git sees it: tracked and new files, changed ones as they are now.
mkdir -p "$run/upper/src"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null --files-from=- -cf - | tar -xf - -C "$run/upper/src"
# The scripts that ask git for the tree's files get a repository of exactly these.
git -C "$run/upper/src" init -q
git -C "$run/upper/src" add -A
git -C "$run/upper/src" -c user.name=chroot -c user.email=chroot@localhost commit -qm tree

inner() {
    local r=$run/root n
    mount -t overlay overlay -o "lowerdir=$cache/base,upperdir=$run/upper,workdir=$run/work" "$r"
    mount -t proc proc "$r/proc"
    mount -t sysfs sysfs "$r/sys"
    mount -t tmpfs -o mode=755,nosuid tmpfs "$r/dev"
    for n in null zero full random urandom tty; do
        touch "$r/dev/$n" && mount --bind "/dev/$n" "$r/dev/$n"
    done
    mkdir "$r/dev/pts" "$r/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=620,gid=5 devpts "$r/dev/pts"
    ln -s pts/ptmx "$r/dev/ptmx"
    ln -s /proc/self/fd "$r/dev/fd"
    ln -s /proc/self/fd/0 "$r/dev/stdin"
    ln -s /proc/self/fd/1 "$r/dev/stdout"
    ln -s /proc/self/fd/2 "$r/dev/stderr"
    mount -t tmpfs -o mode=1777,nosuid tmpfs "$r/dev/shm"
    mount -t tmpfs -o mode=1777 tmpfs "$r/tmp"
    mount -t tmpfs -o mode=755,nosuid tmpfs "$r/run"
    mkdir -p "$r/run/lock" "$r/run/user/0" && chmod 700 "$r/run/user/0"
    mount --bind "$run/debs" "$r/var/cache/apt/archives"
    cp /etc/resolv.conf "$r/etc/resolv.conf"
    # KORVEL_IN_CHROOT keeps scripts/test.sh from starting another chroot in this one.
    exec env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" XDG_RUNTIME_DIR=/run/user/0 \
        KORVEL_IN_CHROOT="$release" chroot "$r" /bin/bash -c 'cd /src && exec "$@"' bash "$@"
}
export -f inner
export run cache release
echo "== In a fresh Debian $release chroot: $*" >&2
# In the background so that a signal reaches the trap at once; stdin stays the caller's.
unshare --mount --pid --fork --kill-child bash -c 'inner "$@"' bash "$@" <&0 &
pid=$!
status=0
wait "$pid" || status=$?
pid=
exit "$status"
