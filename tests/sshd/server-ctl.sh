#!/usr/bin/env bash
# Changes the test server made by with-test-sshd.sh; run inside its namespace
# (the tests run there).
#   server-ctl.sh swap-hostkey          the server presents its second host key
#   server-ctl.sh restore-hostkey       back to the first host key
#   server-ctl.sh fingerprint a|b       SHA256 fingerprint of host key a or b
#   server-ctl.sh readonly <folder>     make a server folder read-only (for root too)
#   server-ctl.sh writable <folder>     undo readonly
#   server-ctl.sh reload-reply [text]   what fs_cli -x reloadxml prints (none: "+OK [Success]")
set -euo pipefail
: "${KX_TEST_SERVER_DIR:?run inside tests/sshd/with-test-sshd.sh}"
T="$KX_TEST_SERVER_DIR"

restart_with_key() {
    cp "$T/hostkey-$1" "$T/hostkey"
    chmod 600 "$T/hostkey"
    local old
    old="$(cat "$T/sshd.pid")"
    kill "$old"
    for _ in $(seq 1 200); do kill -0 "$old" 2>/dev/null || break; sleep 0.02; done
    rm -f "$T/sshd.pid"
    /usr/sbin/sshd -f "$T/sshd_config" -E "$T/sshd.log"
    for _ in $(seq 1 200); do
        if [ -s "$T/sshd.pid" ] && (exec 3<>/dev/tcp/127.0.0.1/22) 2>/dev/null; then return 0; fi
        sleep 0.05
    done
    echo "server-ctl: sshd did not come back" >&2
    exit 1
}

case "${1:-}" in
    swap-hostkey) restart_with_key b ;;
    restore-hostkey) restart_with_key a ;;
    fingerprint) /usr/bin/ssh-keygen -l -E sha256 -f "$T/hostkey-${2:?a or b}.pub" | awk '{print $2}' ;;
    readonly)
        mount --bind "${2:?folder}" "$2"
        mount -o remount,bind,ro "$2" ;;
    writable) umount "${2:?folder}" ;;
    reload-reply)
        if [ $# -ge 2 ]; then printf '%s\n\n' "$2" > "$T/reloadxml.reply"; else rm -f "$T/reloadxml.reply"; fi ;;
    *) echo "usage: $0 swap-hostkey|restore-hostkey|fingerprint a|b|readonly DIR|writable DIR|reload-reply [TEXT]" >&2; exit 2 ;;
esac
