#!/usr/bin/env python3
"""Runs qiv_diag.exe under wine and checks what it prints (and, with --log,
the log file it leaves in the pack folder).

  qiv_diag_check.py --wine-run W --prefix P --exe E --language english|chinese [--log N]
"""
import argparse
import os
import re
import subprocess
import sys

KEYS = ["version_code", "version_name", "lang_id", "language_index", "chinese",
        "main_shortcut", "program_folder", "default_root", "local_appdata",
        "pack_folder", "mac", "memory_mb", "cpu_type", "cpu_count", "free_disk_mb",
        "debug", "own_version"]

LANGUAGES = {
    "english": dict(locale="en_US.UTF-8", lang_id="0x0409", index="6", chinese="0",
                    shortcut="Qiv.lnk", folder="\\Qiv"),
    "chinese": dict(locale="zh_CN.UTF-8", lang_id="0x0804", index="0", chinese="1",
                    shortcut="泰维模拟器.lnk", folder="\\泰维模拟器"),
}

LINE = re.compile(r"^(\d{4})\.(\d{1,2})\.(\d{1,2}) (\d{2}):(\d{2}):(\d{2}):(\d{3}) "
                  r"diag pid=(\d+) thread=(\d) line=(\d+)\tqiv_diag\.cpp\((\d+)\)$")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(args, language, extra):
    env = dict(os.environ)
    env["LC_ALL"] = LANGUAGES[language]["locale"]
    env.pop("KalmorDebug1549", None)
    result = subprocess.run([args.wine_run, args.exe] + extra, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=150)
    output = result.stdout.decode("utf-8")
    check(result.returncode == 0, "exit code %d" % result.returncode)
    return output


def parse(output):
    pairs = []
    for line in output.splitlines():
        line = line.rstrip("\r")
        if "=" in line and not line.startswith("mac address:"):
            key, value = line.split("=", 1)
            pairs.append((key, value))
    return pairs


def check_settings(pairs, language):
    keys = [k for k, _ in pairs]
    check(keys[:len(KEYS)] == KEYS, "keys or their order differ: %s" % keys)
    values = dict(pairs)
    expected = LANGUAGES[language]
    check(values.get("lang_id") == expected["lang_id"], "lang_id %s" % values.get("lang_id"))
    check(values.get("language_index") == expected["index"], "language_index")
    check(values.get("chinese") == expected["chinese"], "chinese")
    check(values.get("main_shortcut") == expected["shortcut"],
          "main_shortcut %r" % values.get("main_shortcut"))
    check(values.get("program_folder") == expected["folder"], "program_folder")
    # Wine answers as Windows 7 SP1.
    check(values.get("version_code") == "9", "version_code %s" % values.get("version_code"))
    check(values.get("version_name") == "Windows7", "version_name")
    local = values.get("local_appdata", "")
    check(re.match(r"^[A-Z]:\\.+\\AppData\\Local$", local, re.I) is not None,
          "local_appdata %r" % local)
    check(values.get("pack_folder") == local + "\\Qiv\\KalmorInstallPack", "pack_folder")
    check(re.match(r"^[A-Z]:\\.+\\AppData\\Roaming$", values.get("default_root", ""), re.I)
          is not None, "default_root %r" % values.get("default_root"))
    check(re.match(r"^([0-9A-F]{2}:){5}[0-9A-F]{2}$", values.get("mac", "")) is not None,
          "mac %r" % values.get("mac"))
    for key in ("memory_mb", "cpu_count", "free_disk_mb"):
        check(values.get(key, "0").isdigit() and int(values.get(key, "0")) > 0, key)
    check(values.get("cpu_type") in ("386", "486", "586", "8664", "2200"),
          "cpu_type %s" % values.get("cpu_type"))
    check(values.get("debug") == "0", "debug")
    check(values.get("own_version") == "3.5.1.0", "own_version %s" % values.get("own_version"))


def unix_path(prefix, windows_path):
    drive, rest = windows_path[0].lower(), windows_path[3:]
    return os.path.join(prefix, "dosdevices", drive + ":", *rest.split("\\"))


def check_log(pairs, prefix, count):
    values = dict(pairs)
    check(pairs and pairs[-1][0] == "log_file", "log_file is not the last line")
    path = values.get("log_file", "")
    check(path.lower().startswith(values.get("pack_folder", "?").lower() + "\\"),
          "log file %r is not in the pack folder" % path)
    with open(unix_path(prefix, path), "rb") as f:
        text = f.read().decode("ascii")
    matches = []
    for line in text.split("\r\n"):
        if "diag pid=" not in line:
            continue
        match = LINE.match(line)
        check(match is not None, "malformed line %r" % line)
        if match:
            matches.append(match)
    check(matches, "no lines in %s" % path)
    if not matches:
        return
    # Earlier runs may have written to the same file: this run wrote last.
    pid = matches[-1].group(8)
    seen = {1: [], 2: [], 3: []}
    stamps = []
    for match in matches:
        if match.group(8) != pid:
            continue
        seen[int(match.group(9))].append(int(match.group(10)))
        stamps.append(tuple(int(match.group(i)) for i in range(1, 8)))
    for thread, numbers in seen.items():
        check(numbers == list(range(1, count + 1)),
              "thread %d: %d lines, order or completeness wrong" % (thread, len(numbers)))
    check(stamps == sorted(stamps), "time stamps go backwards")
    print("checked %d lines of pid %s in %s" % (len(stamps), pid, path))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--language", choices=sorted(LANGUAGES), required=True)
    parser.add_argument("--log", type=int, default=0)
    args = parser.parse_args()
    extra = ["--log", str(args.log)] if args.log else []
    output = run(args, args.language, extra)
    pairs = parse(output)
    check_settings(pairs, args.language)
    if args.log:
        check_log(pairs, args.prefix, args.log)
    sys.stdout.write(output)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
