#!/usr/bin/env bash
# Makes a 7z pack whose single solid block unpacks to more than 1 GiB (eight
# files, LZMA2 with a 16 MiB dictionary) and runs extract_bench on it twice:
# streamed (as the installer extracts) and with the whole block in memory.
#   tools/extract_bench.sh [unpacked MiB, default 1100] [build folder, default build/x64]
set -euo pipefail

size_mib=${1:-1100}
build=$(cd "${2:-build/x64}" && pwd)
seven=$(command -v 7zz || command -v 7z)
work=$(mktemp -d /tmp/qiv-extract-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }

python3 - "$work/src" "$size_mib" <<'PY'
import os, random, struct, sys
folder, total = sys.argv[1], int(sys.argv[2]) << 20
os.makedirs(folder)
rng = random.Random(1)
pool = [rng.randbytes(4096) for _ in range(2048)]   # 8 MiB of distinct blocks
per_file = total // 8
for n in range(8):
    with open(os.path.join(folder, "part%d.bin" % n), "wb") as f:
        for i in range(per_file // 4096):
            block = bytearray(rng.choice(pool))
            struct.pack_into("<II", block, 0, n, i)
            f.write(block)
PY
"$seven" a -bd -bso0 -bsp0 -t7z -m0=LZMA2:d=16m -mx1 -ms=16g -mmt=2 "$work/pack.7z" "$work/src/"*
rm -rf "$work/src"
"$seven" l -slt "$work/pack.7z" | grep -E '^(Blocks|Method|Physical Size) ' | sort -u
for mode in "" --whole-blocks; do
  rm -rf "$work/out"
  "$build/wine-run" "$build/installer/extract_bench.exe" "$(winpath "$work/pack.7z")" \
      "$(winpath "$work/out")" $mode || true
done
