#!/usr/bin/env bash
# Runs a command (a test program under wine, as CTest's COMMAND_PREFIX) with
# the loopback test server of http_test_server.py listening on a free port:
#   with_http_server.sh <command> [args...]
# The command finds in its environment
#   QIV_TEST_HTTP_PORT    the server's port on 127.0.0.1
#   QIV_TEST_HTTP_ROOT    the folder served under /files/ (Windows form Z:\...)
#   QIV_TEST_HTTP_RECORD  the file with one line per request (Windows form)
# and the Unix forms of the last two in QIV_TEST_HTTP_ROOT_UNIX and
# QIV_TEST_HTTP_RECORD_UNIX. The server and its folder go away afterwards.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qiv-http.XXXXXX")
mkdir -p "$work/root"
: >"$work/record.log"

python3 "$here/http_test_server.py" --root "$work/root" \
  --record "$work/record.log" --port-file "$work/port" </dev/null &
server=$!

cleanup() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 1 200); do
  [ -s "$work/port" ] && break
  if ! kill -0 "$server" 2>/dev/null; then
    echo "with_http_server: the test server did not start" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -s "$work/port" ]; then
  echo "with_http_server: no port from the test server" >&2
  exit 1
fi

winpath() { printf 'Z:%s' "${1//\//\\}"; }
export QIV_TEST_HTTP_PORT=$(tr -d '\n' <"$work/port")
export QIV_TEST_HTTP_ROOT=$(winpath "$work/root")
export QIV_TEST_HTTP_RECORD=$(winpath "$work/record.log")
export QIV_TEST_HTTP_ROOT_UNIX=$work/root
export QIV_TEST_HTTP_RECORD_UNIX=$work/record.log

"$@"
