#!/usr/bin/env bash
# Download speed of the installer's transfer code next to curl and aria2c,
# against a loopback nginx that caps every connection (limit_rate), as
# content-delivery networks do, and without a cap.
#
#   testing/download_speed_compare.sh BUILD_DIR [SIZE_MIB] [RATE]
#
# BUILD_DIR is a 64-bit build folder holding tools/fetch_bench.exe and
# wine-run. SIZE_MIB (default 64) is the size of the test file, RATE (default
# 4m) nginx's per-connection limit. Prints each run, the ratios and whether
# the targets hold:
#   four parts >= 3 x one curl stream and >= 0.9 x aria2c -x4 -s4 (capped);
#   one stream within 10 % of curl (capped);
#   and the CPU seconds per GiB of uncapped downloads.
# Every download is checked against the served file's SHA-256.
set -euo pipefail

build=${1:?usage: download_speed_compare.sh BUILD_DIR [SIZE_MIB] [RATE]}
size_mib=${2:-64}
rate=${3:-4m}
build=$(cd "$build" && pwd)
bench=$build/tools/fetch_bench.exe
wine_run=$build/wine-run
for tool in nginx curl aria2c python3; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/setup-deps)" >&2; exit 1; }
done
[ -x "$wine_run" ] && [ -f "$bench" ] || { echo "build fetch_bench in $build first" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/qiv-speed.XXXXXX")
chmod 755 "$work"
nginx_pid=
cleanup() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www/capped" "$work/www/uncapped" "$work/out" "$work/nginx"
head -c $((size_mib * 1048576 + 3)) /dev/urandom >"$work/www/capped/pack.bin"
ln "$work/www/capped/pack.bin" "$work/www/uncapped/pack.bin"
chmod -R a+rX "$work/www"
want=$(sha256sum <"$work/www/capped/pack.bin" | cut -d' ' -f1)
bytes=$(stat -c %s "$work/www/capped/pack.bin")

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 256; }
http {
  access_log off;
  sendfile on;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
    location /capped/ { limit_rate $rate; }
    location /uncapped/ { }
  }
}
CONF
user_line=
[ "$(id -u)" = 0 ] && user_line="user root;"
sed -i "1i $user_line" "$work/nginx/nginx.conf"
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" &
nginx_pid=$!
for _ in $(seq 1 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/uncapped/pack.bin" -r 0-0 && break
  sleep 0.05
done

check() {  # file label
  local got
  got=$(sha256sum <"$1" | cut -d' ' -f1)
  [ "$got" = "$want" ] || { echo "$2: downloaded file differs" >&2; exit 1; }
  rm -f "$1"
}

mibps() { python3 -c "print('%.2f' % ($bytes / 1048576 / $1))"; }
now() { date +%s.%N; }
elapsed() { python3 -c "print('%.3f' % ($2 - $1))"; }

run_curl() {  # path -> seconds
  local out=$work/out/curl.bin t
  t=$(curl -s -o "$out" -w '%{time_total}' "http://127.0.0.1:$port/$1")
  check "$out" curl
  echo "$t"
}

run_aria() {  # path -> seconds
  local t0 t1
  t0=$(now)
  aria2c -q -x4 -s4 -k1M --allow-overwrite=true --auto-file-renaming=false \
    -d "$work/out" -o aria.bin "http://127.0.0.1:$port/$1"
  t1=$(now)
  check "$work/out/aria.bin" aria2c
  elapsed "$t0" "$t1"
}

# run_bench parts path: leaves fetch_bench's last line in $work/bench.line
# and its CPU seconds in $work/bench.cpu; prints the seconds it measured.
run_bench() {
  local out=$work/out/bench$1.bin
  "$wine_run" "$bench" --parts "$1" "http://127.0.0.1:$port/$2" \
    "Z:${out//\//\\}" | tr -d '\r' >"$work/bench.txt" || {
    echo "fetch_bench --parts $1 failed" >&2; cat "$work/bench.txt" >&2; exit 1; }
  tail -n 1 "$work/bench.txt" >"$work/bench.line"
  sed -n 's/^cpu_seconds=//p' "$work/bench.txt" >"$work/bench.cpu"
  check "$out" "fetch_bench --parts $1"
  sed -n 's/.*seconds=\([0-9.]*\) .*/\1/p' "$work/bench.line"
}

echo "file: $bytes bytes; nginx limit_rate $rate per connection"
"$wine_run" cmd /c exit >/dev/null 2>&1 || true   # wine up before timing

curl_s=$(run_curl capped/pack.bin)
echo "capped   curl (1 stream)        ${curl_s}s  $(mibps "$curl_s") MiB/s"
aria_s=$(run_aria capped/pack.bin)
echo "capped   aria2c -x4 -s4         ${aria_s}s  $(mibps "$aria_s") MiB/s"
b4_s=$(run_bench 4 capped/pack.bin)
echo "capped   fetch_bench --parts 4  ${b4_s}s  $(mibps "$b4_s") MiB/s   [$(cat "$work/bench.line")]"
b1_s=$(run_bench 1 capped/pack.bin)
echo "capped   fetch_bench --parts 1  ${b1_s}s  $(mibps "$b1_s") MiB/s   [$(cat "$work/bench.line")]"

u4_s=$(run_bench 4 uncapped/pack.bin); u4_cpu=$(cat "$work/bench.cpu")
echo "uncapped fetch_bench --parts 4  ${u4_s}s  $(mibps "$u4_s") MiB/s   cpu ${u4_cpu}s [$(cat "$work/bench.line")]"
u1_s=$(run_bench 1 uncapped/pack.bin); u1_cpu=$(cat "$work/bench.cpu")
echo "uncapped fetch_bench --parts 1  ${u1_s}s  $(mibps "$u1_s") MiB/s   cpu ${u1_cpu}s [$(cat "$work/bench.line")]"
uc_s=$(run_curl uncapped/pack.bin)
echo "uncapped curl (1 stream)        ${uc_s}s  $(mibps "$uc_s") MiB/s"

python3 - "$curl_s" "$aria_s" "$b4_s" "$b1_s" "$u4_cpu" "$u1_cpu" "$bytes" <<'PY'
import sys
curl, aria, b4, b1, u4cpu, u1cpu, size = map(float, sys.argv[1:])
gib = size / 2**30
checks = [
    ("4 parts vs 1 curl stream", curl / b4, ">= 3.00", curl / b4 >= 3.0),
    ("4 parts vs aria2c -x4 -s4", aria / b4, ">= 0.90", aria / b4 >= 0.9),
    ("1 stream vs curl", curl / b1, ">= 0.90", curl / b1 >= 0.9),
]
ok = True
for name, ratio, target, good in checks:
    print("%-28s speed ratio %.2f (target %s) %s" % (name, ratio, target, "ok" if good else "MISSED"))
    ok = ok and good
print("uncapped CPU: %.2f s/GiB (4 parts), %.2f s/GiB (1 stream)" % (u4cpu / gib, u1cpu / gib))
sys.exit(0 if ok else 1)
PY
