#!/usr/bin/env python3
"""Archive fixtures for the extractor tests.

    archive_fixtures.py --7z /usr/bin/7zz --run <wine-run> <test.exe> [args...]

Makes a temporary folder with the fixtures, runs the command with
QIV_ARCHIVE_FIXTURES set to that folder (as a Windows path, drive Z:), removes
the folder and exits with the command's exit code. The last program argument
that names an existing .exe is used as executable content (so that 7-Zip
applies its x86 filters as it does for a real install pack).

7z fixtures are made with the 7-Zip command line; hostile entry names are
patched into archives made with placeholder names of the same length (with
uncompressed headers, fixing both header CRCs). ZIP fixtures are written with
Python's zipfile.
"""

import argparse
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

# The shared source tree of the 7z method fixtures. Names with non-ASCII
# characters check the wide-path handling.
TREE_FILES = {
    "lib/data.bin": None,  # generated: compressible, with x86 branch opcodes
    "lib/readme.txt": b"The quick brown fox jumps over the lazy dog.\n" * 300,
    "docs/empty.txt": b"",
    "ro.txt": b"read-only content\n",
    "\u8d44\u6e90/\u540d\u5b57.txt": "\u4e2d\u6587\u5185\u5bb9\n".encode("utf-8"),
}
TREE_DIRS = ["emptydir"]

# name: 7-Zip switches. Each gives the same tree in different coder chains.
METHOD_FIXTURES = {
    "lzma": ["-m0=LZMA"],                 # LZMA, and BCJ + LZMA for the exe
    "lzma2": ["-mx5"],                    # 7-Zip's default: LZMA2, BCJ + LZMA2
    "bcj2": ["-mx9"],                     # BCJ2 over LZMA2 + LZMA + LZMA
    "bcj2_lzma": ["-m0=BCJ2", "-m1=LZMA:d=1m", "-m2=LZMA:d=64k", "-m3=LZMA:d=64k",
                  "-mb0:1", "-mb0s1:2", "-mb0s2:3"],
    "copy": ["-mx0"],                     # Copy
    "nonsolid": ["-ms=off"],              # one block per file
    "ppmd": ["-m0=PPMd", "-mf=off"],      # not streamed: unpacked whole
}

# Hostile 7z entries: (fixture, stored name, placeholder of the same length,
# is a folder).
HOSTILE_7Z = [
    ("hostile_parent", "..\\evil.txt", "xx_evil.txt", False),
    ("hostile_parent_slash", "../evil.txt", "xx_evil.tx1", False),
    ("hostile_root", "\\evil.txt", "xevil.txt", False),
    ("hostile_drive", "C:\\evil.txt", "xx_evil.tx2", False),
    ("hostile_deep", "sub/../../evil.txt", "sub_xx_xx_evil.txt", False),
    ("hostile_folder", "../evildir", "xx_evildir", True),
]

BIG_SIZE = 64 << 20


def crc_patch_7z(path, old_name, new_name):
    """Replaces a UTF-16 name in an archive with an uncompressed header."""
    data = bytearray(open(path, "rb").read())
    old = old_name.encode("utf-16-le")
    new = new_name.encode("utf-16-le")
    assert len(old) == len(new)
    next_offset, next_size = struct.unpack_from("<QQ", data, 12)
    start = 32 + next_offset
    header = data[start:start + next_size]
    at = header.find(old)
    if at < 0 or header[0] != 0x01:
        raise SystemExit("placeholder not found in a plain header: %s" % path)
    header[at:at + len(old)] = new
    data[start:start + next_size] = header
    struct.pack_into("<I", data, 28, zlib.crc32(bytes(header)) & 0xFFFFFFFF)
    struct.pack_into("<I", data, 8, zlib.crc32(bytes(data[12:32])) & 0xFFFFFFFF)
    open(path, "wb").write(data)


def run_7z(seven, archive, switches, cwd, items):
    cmd = [seven, "a", "-bd", "-bso0", "-bsp0", "-t7z", archive] + switches + items
    subprocess.run(cmd, cwd=cwd, check=True)


def branchy_data(rng, size):
    """Compressible bytes with many E8/E9/0F8x opcodes."""
    pool = [bytes(rng.choice((0xE8, 0xE9, 0x0F, 0x85, 0x00, 0x41, 0x90, 0xC3))
                  for _ in range(64)) for _ in range(32)]
    out = bytearray()
    while len(out) < size:
        out += rng.choice(pool)
        out += bytes(rng.getrandbits(8) for _ in range(4))
    return bytes(out[:size])


def make_tree(root, exe):
    rng = random.Random(7)
    for name, content in TREE_FILES.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if content is None:
            content = branchy_data(rng, 300000)
        with open(path, "wb") as f:
            f.write(content)
    for name in TREE_DIRS:
        os.makedirs(os.path.join(root, name), exist_ok=True)
    if exe:
        shutil.copyfile(exe, os.path.join(root, "app.exe"))
    os.chmod(os.path.join(root, "ro.txt"), 0o444)


def make_big(out, seven):
    """One 64 MiB file in one solid LZMA2 block with a 1 MiB dictionary."""
    rng = random.Random(64)
    pool = [rng.randbytes(4096) for _ in range(64)]
    folder = os.path.join(out, "big_src")
    os.makedirs(folder)
    with open(os.path.join(folder, "big.bin"), "wb") as f:
        for i in range(BIG_SIZE // 4096):
            block = bytearray(rng.choice(pool))
            struct.pack_into("<I", block, 0, i)
            f.write(block)
    run_7z(seven, os.path.join(out, "big.7z"), ["-m0=LZMA2:d=1m", "-mx1", "-ms=on"],
           folder, ["big.bin"])


def make_7z_fixtures(out, seven, exe):
    tree = os.path.join(out, "tree")
    make_tree(tree, exe)
    for name, switches in METHOD_FIXTURES.items():
        run_7z(seven, os.path.join(out, name + ".7z"), switches, tree, ["."])

    # Damaged: a Copy archive with one flipped data byte (CRC error), and an
    # archive cut in half.
    crc = os.path.join(out, "crc.7z")
    stage = os.path.join(out, "crc_src")
    os.makedirs(stage)
    with open(os.path.join(stage, "good.txt"), "wb") as f:
        f.write(b"new content of good.txt\n" * 40)
    run_7z(seven, crc, ["-mx0", "-mhc=off"], stage, ["good.txt"])
    data = bytearray(open(crc, "rb").read())
    data[32 + 100] ^= 0x55
    open(crc, "wb").write(data)

    whole = open(os.path.join(out, "lzma2.7z"), "rb").read()
    open(os.path.join(out, "truncated.7z"), "wb").write(whole[:len(whole) // 2])

    for fixture, name, placeholder, is_dir in HOSTILE_7Z:
        stage = os.path.join(out, fixture + "_src")
        os.makedirs(stage)
        with open(os.path.join(stage, "first.txt"), "wb") as f:
            f.write(b"first\n")
        if is_dir:
            os.makedirs(os.path.join(stage, placeholder))
        else:
            os.makedirs(os.path.dirname(os.path.join(stage, placeholder)) or stage,
                        exist_ok=True)
            with open(os.path.join(stage, placeholder), "wb") as f:
                f.write(b"evil\n")
        archive = os.path.join(out, fixture + ".7z")
        run_7z(seven, archive, ["-mhc=off"], stage, ["first.txt", placeholder])
        crc_patch_7z(archive, placeholder, name)

    # An entry whose output path is over 500 characters.
    stage = os.path.join(out, "longname_src")
    deep = os.path.join(stage, "a" * 200, "b" * 200)
    os.makedirs(deep)
    with open(os.path.join(deep, "c" * 100 + ".txt"), "wb") as f:
        f.write(b"long\n")
    run_7z(seven, os.path.join(out, "longname.7z"), [], stage, ["a" * 200])

    make_big(out, seven)


def zip_item(name, data, attr=0, date=(2010, 6, 15, 12, 30, 0), extra=b"",
             utf8=False):
    info = zipfile.ZipInfo(name, date_time=date)
    info.external_attr = attr
    info.compress_type = zipfile.ZIP_DEFLATED
    info.extra = extra
    info.create_system = 0
    if utf8:
        info.flag_bits |= 0x800
    return info, data


def write_zip(path, items):
    with zipfile.ZipFile(path, "w") as z:
        for info, data in items:
            z.writestr(info, data)


def make_zip_fixtures(out):
    ut = struct.pack("<HHBIII", 0x5455, 13, 7, 1000000000, 1000000100, 999999900)
    write_zip(os.path.join(out, "pack.zip"), [
        zip_item("sub/", b"", attr=0x10),
        zip_item("sub/deep/file.txt", b"deep file\n" * 100),
        zip_item("ro.txt", b"read-only item\n", attr=0x01),
        zip_item("ut.txt", b"unix times\n", extra=ut),
        zip_item("dos.txt", b"dos time\n"),
        zip_item("\u540d\u5b57.txt", "\u4e2d\u6587\n".encode("utf-8"), utf8=True),
        zip_item("..\\up.txt", b"one level up\n"),
        zip_item("unix/x.txt", b"unix item\n", attr=(0o100444 << 16)),
    ])
    for fixture, name in [("zip_escape", "..\\..\\evil.txt"),
                          ("zip_escape_slash", "sub/../../../evil.txt"),
                          ("zip_root", "\\evil.txt"),
                          ("zip_drive", "C:\\evil.txt"),
                          ("zip_drive_relative", "C:evil.txt")]:
        write_zip(os.path.join(out, fixture + ".zip"), [
            zip_item("first.txt", b"first\n"),
            zip_item(name, b"evil\n"),
            zip_item("last.txt", b"last\n"),
        ])
    # A stored item with one flipped byte: its CRC fails.
    info, data = zip_item("good.txt", b"content " * 64)
    info.compress_type = zipfile.ZIP_STORED
    path = os.path.join(out, "zip_crc.zip")
    write_zip(path, [(info, data)])
    raw = bytearray(open(path, "rb").read())
    at = raw.find(b"content ")
    raw[at + 3] ^= 0x20
    open(path, "wb").write(raw)
    whole = open(os.path.join(out, "pack.zip"), "rb").read()
    open(os.path.join(out, "zip_truncated.zip"), "wb").write(whole[:len(whole) - 30])


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--7z", dest="seven", required=True)
    parser.add_argument("--run", nargs=argparse.REMAINDER, required=True)
    args = parser.parse_args()
    exe = next((a for a in reversed(args.run)
                if a.lower().endswith(".exe") and os.path.isfile(a)), None)
    # A test time-out ends this wrapper with SIGTERM: still clean up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    out = tempfile.mkdtemp(prefix="qiv-archives-")
    try:
        make_7z_fixtures(out, args.seven, exe)
        make_zip_fixtures(out)
        os.makedirs(os.path.join(out, "work"))
        env = dict(os.environ, QIV_ARCHIVE_FIXTURES=windows_path(out))
        return subprocess.run(args.run, env=env).returncode
    finally:
        for root, dirs, files in os.walk(out):
            for name in dirs + files:
                try:
                    os.chmod(os.path.join(root, name), 0o755, follow_symlinks=False)
                except OSError:
                    pass
        shutil.rmtree(out, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
