#!/usr/bin/env bash
# Runs a command next to a private OpenSSH server that looks like a FreeSWITCH
# box: sshd on 127.0.0.1 port 22 (and 2222) inside a mount, network and process
# namespace of its own, with a test root password, a test /etc/freeswitch tree,
# a test /etc/network/interfaces and stand-in fs_cli and reboot programs that
# record each call. Nothing outside the namespaces changes: every file the
# harness makes lives on a tmpfs that disappears with the namespace, and every
# process in it ends when the command ends.
#
#   tests/sshd/with-test-sshd.sh <command> [args...]
#
# The command sees (environment):
#   KX_TEST_SERVER_HOST        127.0.0.1
#   KX_TEST_SERVER_PORT        22
#   KX_TEST_SERVER_ALT_PORT    2222 (the same server on another port)
#   KX_TEST_ROOT_PASSWORD      the root password of this run
#   KX_TEST_SERVER_DIR         the harness's private folder; calls.log there
#                              records each fs_cli and reboot call
#   KX_TEST_SERVER_CTL         control script (server-ctl.sh): swap the host key,
#                              make a server folder read-only, set fs_cli's reply
#   KX_TEST_SERVER_FIXTURE     the fixture tree copied to /etc/freeswitch
#
# Needs root (or password-less sudo), unshare, ip, sshd, ssh-keygen, perl.
# Without them it exits with 77, which the test runner counts as skipped.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

if [ "${KX_TEST_SSHD_INSIDE:-}" != 1 ]; then
    if [ $# -eq 0 ]; then
        echo "usage: $0 <command> [args...]" >&2
        exit 2
    fi
    for tool in unshare ip perl; do
        command -v "$tool" >/dev/null 2>&1 || { echo "with-test-sshd: $tool is missing (run scripts/setup.sh)" >&2; exit 77; }
    done
    for tool in /usr/sbin/sshd /usr/bin/ssh-keygen; do
        [ -x "$tool" ] || { echo "with-test-sshd: $tool is missing (run scripts/setup.sh)" >&2; exit 77; }
    done
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            exec sudo -n --preserve-env "$0" "$@"
        fi
        echo "with-test-sshd: needs root or password-less sudo to make the test namespace; skipped" >&2
        exit 77
    fi
    # The harness's folder: a tmpfs is mounted on it inside the namespace, so
    # only the empty mount point is made out here, and removed again below.
    T="$(mktemp -d "${TMPDIR:-/tmp}/kx-sshd-XXXXXX")"
    # --pid --fork: the script becomes process 1 of a new process namespace, so
    # sshd and every process started in there end together with it.
    set +e
    unshare --mount --net --pid --fork --kill-child --mount-proc --propagation private \
        env KX_TEST_SSHD_INSIDE=1 KX_TEST_SSHD_DIR="$T" "$0" "$@"
    rc=$?
    set -e
    rmdir "$T" 2>/dev/null || rm -rf "$T"
    exit "$rc"
fi

# ---- inside the namespaces ------------------------------------------------

# Nothing of what follows may reach the outer mount table.
mount --make-rprivate /

# Every file of the harness and of the test goes to this tmpfs.
T="$KX_TEST_SSHD_DIR"
mount -t tmpfs -o mode=755 kx-test-tmp "$T"
mkdir -m 1777 "$T/tmp"
export TMPDIR="$T/tmp"

# A private writable copy of a system folder: an overlay whose upper layer lives
# on the tmpfs (falls back to a full copy where overlays are not available).
private_copy() {
    local dir="$1" name
    name="$(echo "$dir" | tr / _)"
    mkdir -p "$T/ovl$name/upper" "$T/ovl$name/work"
    if ! mount -t overlay "kx-test$name" \
            -o "lowerdir=$dir,upperdir=$T/ovl$name/upper,workdir=$T/ovl$name/work" "$dir" 2>/dev/null; then
        mkdir -p "$T/copy$name"
        cp -a "$dir/." "$T/copy$name/"
        mount --bind "$T/copy$name" "$dir"
    fi
}
private_copy /etc
private_copy /run
private_copy /var/log

ip link set lo up

# Root password of this run (a blank and a quote in it keep the quoting honest).
KX_TEST_ROOT_PASSWORD="Kx test'pw-$(head -c 6 /dev/urandom | od -An -tx1 | tr -d ' \n')"
export KX_TEST_ROOT_PASSWORD
hash="$(KX_PW="$KX_TEST_ROOT_PASSWORD" perl -e '
    my @c = ("a".."z", "A".."Z", 0..9, ".", "/");
    my $salt = join "", map { $c[rand @c] } 1..16;
    print crypt($ENV{KX_PW}, "\$6\$$salt\$");')"
case "$hash" in '$6$'*) ;; *) echo "with-test-sshd: unable to hash the test password" >&2; exit 1 ;; esac
KX_HASH="$hash" perl -i -pe 's/^root:[^:]*:/root:$ENV{KX_HASH}:/' /etc/shadow
grep -q '^root:' /etc/shadow || { echo "with-test-sshd: no root entry in /etc/shadow" >&2; exit 1; }

# The server's configuration tree and network file.
rm -rf /etc/freeswitch
mkdir -p /etc/freeswitch
cp -r "$here/fixture/freeswitch/." /etc/freeswitch/
mkdir -p /etc/network
cp "$here/fixture/interfaces" /etc/network/interfaces

# Stand-ins for the engine's console client and for reboot: they record each
# call in calls.log and answer as the real ones would.
mkdir -p "$T/bin"
: > "$T/calls.log"
cat > "$T/bin/fs_cli" <<STUB
#!/bin/sh
printf '%s\n' "fs_cli \$*" >> "$T/calls.log"
if [ "\$1" = "-x" ]; then
    case "\$2" in
        reloadxml)
            if [ -f "$T/reloadxml.reply" ]; then cat "$T/reloadxml.reply"; else printf '+OK [Success]\n\n'; fi ;;
        "sofia profile external rescan")
            printf 'Reload XML [Success]\n+OK scan complete\n' ;;
        "sofia profile external killgw "*)
            printf '+OK gateway marked for deletion.\n' ;;
        *)
            printf -- '-ERR %s Command not found!\n' "\$2" ;;
    esac
fi
exit 0
STUB
cat > "$T/bin/reboot" <<STUB
#!/bin/sh
printf '%s\n' "reboot\${*:+ \$*}" >> "$T/calls.log"
exit 0
STUB
chmod 755 "$T/bin/fs_cli" "$T/bin/reboot"
# Whatever PATH a session ends up with, the real reboot is never reachable.
for real in /usr/sbin/reboot /sbin/reboot /usr/bin/reboot /bin/reboot; do
    if [ -e "$real" ] && [ ! -L "$real" ]; then mount --bind "$T/bin/reboot" "$real"; fi
done

# The server: throw-away host keys (the second one stands in for a changed
# key), password log-in for root, the session PATH starting with the stand-ins.
mkdir -p /run/sshd
chmod 755 /run/sshd
/usr/bin/ssh-keygen -q -t ed25519 -N '' -C kx-test-a -f "$T/hostkey-a"
/usr/bin/ssh-keygen -q -t ed25519 -N '' -C kx-test-b -f "$T/hostkey-b"
cp "$T/hostkey-a" "$T/hostkey"
chmod 600 "$T/hostkey"
cat > "$T/sshd_config" <<CONF
ListenAddress 127.0.0.1:22
ListenAddress 127.0.0.1:2222
HostKey $T/hostkey
PidFile $T/sshd.pid
PermitRootLogin yes
PasswordAuthentication yes
KbdInteractiveAuthentication no
PubkeyAuthentication no
AuthorizedKeysFile none
UsePAM no
UseDNS no
StrictModes no
PrintMotd no
PrintLastLog no
MaxStartups 50
MaxAuthTries 6
LogLevel VERBOSE
Subsystem sftp internal-sftp
SetEnv PATH=$T/bin:/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
CONF
# -e: log into a file of ours, never to the machine's syslog.
/usr/sbin/sshd -f "$T/sshd_config" -E "$T/sshd.log"

wait_for_server() {
    for _ in $(seq 1 200); do
        if [ -s "$T/sshd.pid" ] && (exec 3<>/dev/tcp/127.0.0.1/22) 2>/dev/null; then return 0; fi
        sleep 0.05
    done
    echo "with-test-sshd: sshd did not start; its log:" >&2
    cat "$T/sshd.log" >&2 || true
    return 1
}
export -f wait_for_server
export T
wait_for_server

export KX_TEST_SERVER_HOST=127.0.0.1
export KX_TEST_SERVER_PORT=22
export KX_TEST_SERVER_ALT_PORT=2222
export KX_TEST_SERVER_DIR="$T"
export KX_TEST_SERVER_CTL="$here/server-ctl.sh"
export KX_TEST_SERVER_FIXTURE="$here/fixture/freeswitch"
mkdir -p "$T/home"
export HOME="$T/home"

set +e
"$@"
rc=$?
set -e
if [ "$rc" -ne 0 ]; then
    echo "---- test sshd log (last lines) ----" >&2
    tail -n 40 "$T/sshd.log" >&2 || true
fi
# Leaving ends every process of the namespace; the mounts go with it.
exit "$rc"
