#!/usr/bin/env bash
# The installer's road without its window, as scripts/demo runs it: a pack
# made here is queried, downloaded in four parts, extracted and reported
# against the product server on the fixed test address 127.0.0.1:9090.
#   demo_road_test.sh WINE_RUN QIV_DEMO_EXE
set -euo pipefail
run=$1 exe=$2
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/qiv-road.XXXXXX)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }

mkdir -p "$work/source/bin" "$work/packs"
head -c 3000001 /dev/urandom >"$work/source/bin/payload.dat"
printf 'road\n' >"$work/source/bin/note.txt"
(cd "$work/source" && 7zz a -t7z -mx=1 "$work/packs/RoadPack.7z" . >/dev/null)

python3 "$here/testing/product_server.py" --host 127.0.0.1 --port 9090 \
  --packs "$work/packs" --scenario good --record "$work/record.jsonl" \
  --run -- "$run" "$exe" -unExternalQiv: "$(winpath "$work/download")" "$(winpath "$work/install")" \
  | tee "$work/out.txt"

diff -r "$work/source" "$work/install"
grep -q '^result: 0' "$work/out.txt"
python3 - "$work/record.jsonl" <<'PY'
import json, sys
seen = [(r["verdict"], r["target"].split("?")[0].rsplit("/", 1)[-1])
        for r in map(json.loads, open(sys.argv[1]))]
api = [s for s in seen if s[1] in ("infor", "loadstart", "loaded", "installed")]
assert api == [("accepted", "infor"), ("accepted", "loadstart"),
               ("accepted", "loaded"), ("accepted", "installed")], seen
ranges = [s for s in seen if s[1] == "RoadPack.7z"]
assert len(ranges) == 4, seen
print("road: query, four ranges, three reports, all signatures accepted")
PY
