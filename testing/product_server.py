#!/usr/bin/env python3
"""Local product server: the package query, the reports, the slow-download
log, the game-center query and the packs, on a loopback address.

It plays the product side of the installer's protocol for tests and for
manual runs of the installer started with "-unExternalQiv:":

  GET  /api/token/file/v1_0/infor?<signed>&version=V   package answer (JSON)
  GET  /api/token/file/v1_0/{loadstart,loaded,installed,loadcancel,diagnose}?
                                                      reports: "ok"
  POST /api/token/file/v1_0/log                       slow-download log: "ok"
  GET  /games/simulator/<game id>                     game-center answer (JSON)
  GET  /files/<name>                                  packs, with byte ranges
  GET  /control/scenario?name=N                       switch the scenario

Every request of the API (and every pack request that carries a query) must
carry the signed parameter string: the seven fields accessToken, macAddress,
playerVersion ("0.2"), platform, timestamp, reservedField ("[]") and sign, in
this order, where sign is the MD5 of
"accessToken=T_accessSecret=S_macAddress=M_timestamp=N" and S is the secret
of the pair that T names in server/deployment.ini. A request that does not
verify is answered 403 and recorded as refused.

Every request is recorded as one JSON object per line in the record file:
  {"verdict": "accepted"|"refused"|"unsigned"|"control", "reason": ...,
   "method": ..., "target": "<path?query>", "status": n, "body": ...}

Package-answer scenarios (--scenario, or /control/scenario):
  good             errNo "0" and every member (pack, resource pack, basePath)
  good-errno2      errNo "2" without retMsg
  errno-number     errNo 0 as a JSON number
  errno-other      errNo "1"
  errno-missing    no errNo
  retmsg           errNo "2" with retMsg
  filesize-short   fileSize "9999"
  filesize-number  fileSize as a JSON number
  url-no-http      downloadUrl with the ftp scheme
  url-empty        downloadUrl ""
  empty            status 200 with an empty body
  empty-first      an empty body for the first query, then as "good"
  not-json         an HTML page
  not-object       a JSON array

Packs: the install pack is --install-pack (default: the largest *.7z of the
packs folder), the resource pack --rc-pack (default: rc*.zip, if any).

Command line:
  product_server.py --host 127.0.0.1 --port 9090 --packs DIR --scenario NAME
                    --record FILE [--web-port 8888] [--port-file FILE]
                    [--run -- command args...]
With --port 0 a free port is taken (written to --port-file). With --run the
server runs the command beside it and ends with the command's exit code; the
command finds QIV_PRODUCT_PORT, QIV_PRODUCT_RECORD and QIV_PRODUCT_PACKS (and
their Unix forms ..._UNIX) in its environment; missing --packs and --record
are then made in a temporary folder that is removed afterwards.
"""

import argparse
import glob
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import http_test_server  # noqa: E402  (the range-serving test server)

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_DEPLOYMENT = os.path.join(REPO, "server", "deployment.ini")
API_PREFIX = "/api/token/file/v1_0/"
REPORTS = ("loadstart", "loaded", "installed", "loadcancel", "diagnose")
SIGNED_FIELDS = ("accessToken", "macAddress", "playerVersion", "platform",
                 "timestamp", "reservedField", "sign")
SCENARIOS = ("good", "good-errno2", "errno-number", "errno-other",
             "errno-missing", "retmsg", "filesize-short", "filesize-number",
             "url-no-http", "url-empty", "empty", "empty-first", "not-json",
             "not-object")


# -- deployment data and signatures ------------------------------------------

def read_deployment(path=DEFAULT_DEPLOYMENT):
    """Returns (settings dict, {token: secret}) from the deployment file."""
    settings, credentials = {}, {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            key, _, value = line.partition("=")
            key, value = key.strip(), value.strip()
            settings[key] = value
            if key.startswith("credential_"):
                token, _, secret = value.partition(",")
                credentials[token.strip()] = secret.strip()
    return settings, credentials


def signature_input(token, secret, mac, timestamp):
    return "accessToken=%s_accessSecret=%s_macAddress=%s_timestamp=%s" % (
        token, secret, mac, timestamp)


def verify_signed(text, credentials):
    """Checks the signed parameter string at the start of |text| (a query
    or a form body, fields joined by "&", values not encoded). Returns
    (True, "") or (False, reason)."""
    fields = text.split("&")
    if len(fields) < len(SIGNED_FIELDS):
        return False, "too few fields"
    values = {}
    for expected, field in zip(SIGNED_FIELDS, fields):
        name, eq, value = field.partition("=")
        if name != expected or not eq:
            return False, "field %r where %r belongs" % (name, expected)
        values[name] = value
    if "accessSecret" in text:
        return False, "secret transmitted"
    if values["playerVersion"] != "0.2":
        return False, "playerVersion"
    if values["reservedField"] != "[]":
        return False, "reservedField"
    if not re.fullmatch(r"[0-9]+", values["timestamp"]):
        return False, "timestamp"
    secret = credentials.get(values["accessToken"])
    if secret is None:
        return False, "unknown accessToken"
    expected = hashlib.md5(signature_input(
        values["accessToken"], secret, values["macAddress"],
        values["timestamp"]).encode("latin-1")).hexdigest()
    if values["sign"] != expected:
        return False, "sign mismatch"
    return True, ""


# -- answers -----------------------------------------------------------------

def package_answer(scenario, base_url, packs, install_pack, rc_pack):
    """Body bytes of the package answer for a scenario."""
    if scenario == "empty":
        return b""
    if scenario == "not-json":
        return b"<html><body>Service unavailable</body></html>"
    if scenario == "not-object":
        return b'["errNo", "0"]'
    size = os.path.getsize(os.path.join(packs, install_pack)) \
        if install_pack else 0
    answer = {
        "errNo": "0",
        "fileSize": str(size),
        "downloadUrl": base_url + "/files/" + install_pack,
        "fileVersion": "3.5.1.0",
        "dirName": "Qiv",
        "basePath": base_url + "/files/",
    }
    if rc_pack:
        answer["rcDownloadUrl"] = base_url + "/files/" + rc_pack
        answer["rcFileSize"] = str(
            os.path.getsize(os.path.join(packs, rc_pack)))
    if scenario == "good-errno2":
        answer["errNo"] = "2"
    elif scenario == "errno-number":
        answer["errNo"] = 0
    elif scenario == "errno-other":
        answer["errNo"] = "1"
    elif scenario == "errno-missing":
        del answer["errNo"]
    elif scenario == "retmsg":
        answer["errNo"] = "2"
        answer["retMsg"] = "please update"
    elif scenario == "filesize-short":
        answer["fileSize"] = "9999"
    elif scenario == "filesize-number":
        answer["fileSize"] = size
    elif scenario == "url-no-http":
        answer["downloadUrl"] = "ftp://127.0.0.1/" + install_pack
    elif scenario == "url-empty":
        answer["downloadUrl"] = ""
    return json.dumps(answer).encode("utf-8")


def game_center_answer(base_url, game_id, override_path=None):
    if override_path:
        with open(override_path, "rb") as f:
            return f.read()
    return json.dumps({
        "error_message": "",
        "data": {
            "activityName": "com.qiv.game%s.MainActivity" % game_id,
            "installApkUrl": base_url + "/files/game%s.apk" % game_id,
            "packageUrl": "com.qiv.game%s" % game_id,
        },
    }).encode("utf-8")


def default_install_pack(packs):
    found = sorted(glob.glob(os.path.join(packs, "*.7z")),
                   key=lambda p: (-os.path.getsize(p), p))
    return os.path.basename(found[0]) if found else ""


def default_rc_pack(packs):
    found = sorted(glob.glob(os.path.join(packs, "rc*.zip")))
    return os.path.basename(found[0]) if found else ""


# -- the server --------------------------------------------------------------

class _ProductHandler(http_test_server._Handler):
    """API and game-center requests are answered here; packs go to the
    range-serving handler of http_test_server."""

    def do_GET(self):
        self._product(send_body=True)

    def do_HEAD(self):
        self._product(send_body=False)

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        owner = self.server.owner
        url = urllib.parse.urlsplit(self.path)
        if url.path != API_PREFIX + "log":
            owner.note("unsigned", "", self, 404, body)
            return self._answer_simple(404, b"not found")
        ok, reason = verify_signed(body.decode("latin-1"), owner.credentials)
        status = 200 if ok else 403
        owner.note("accepted" if ok else "refused", reason, self, status, body)
        self._answer_simple(status, b"ok" if ok else b"forbidden")

    def _product(self, send_body):
        owner = self.server.owner
        url = urllib.parse.urlsplit(self.path)
        base_url = "http://%s" % (self.headers.get("Host") or
                                  "%s:%d" % (owner.host, owner.port))
        if url.path == "/control/scenario":
            name = urllib.parse.parse_qs(url.query).get("name", [""])[0]
            status = 200 if owner.set_scenario(name) else 400
            owner.note("control", name, self, status)
            return self._answer_simple(status, name.encode(), None, send_body)
        if url.path.startswith("/games/simulator/"):
            game_id = url.path[len("/games/simulator/"):]
            owner.note("unsigned", "", self, 200)
            payload = game_center_answer(base_url, game_id,
                                         owner.game_center_file)
            return self._answer_simple(
                200, payload, {"Content-Type": "application/json"}, send_body)
        signed = url.path.startswith(API_PREFIX) or (
            url.path.startswith("/files/") and url.query)
        if signed:
            ok, reason = verify_signed(url.query, owner.credentials)
            if not ok:
                owner.note("refused", reason, self, 403)
                return self._answer_simple(403, b"forbidden", None, send_body)
        if url.path == API_PREFIX + "infor":
            payload = owner.package_answer(base_url)
            owner.note("accepted", "", self, 200)
            return self._answer_simple(
                200, payload, {"Content-Type": "application/json"}, send_body)
        if url.path.startswith(API_PREFIX):
            name = url.path[len(API_PREFIX):]
            status = 200 if name in REPORTS else 404
            owner.note("accepted" if status == 200 else "unsigned", "",
                       self, status)
            return self._answer_simple(status, b"ok" if status == 200
                                       else b"not found", None, send_body)
        # Packs: the base handler serves them with ranges and calls
        # record(), which notes the request with this verdict.
        self._pack_verdict = "accepted" if signed else "unsigned"
        http_test_server._Handler._serve(self, send_body)

    def _record(self, status, body=b""):
        self.server.owner.note(getattr(self, "_pack_verdict", "unsigned"), "",
                               self, status, body)


class ProductServer(http_test_server.HttpTestServer):
    """The product server as an object; start() returns the API port."""

    def __init__(self, packs, record_path, scenario="good", host="127.0.0.1",
                 port=0, web_port=None, install_pack=None, rc_pack=None,
                 deployment=DEFAULT_DEPLOYMENT, game_center_file=None):
        super().__init__(packs, None, host=host, port=port)
        if scenario not in SCENARIOS:
            raise ValueError("unknown scenario %r" % scenario)
        self.scenario = scenario
        self.product_record = record_path
        self.web_port = web_port
        # None: looked up in the packs folder at each answer, so that a test
        # may put its packs there after the server started.
        self.install_pack = install_pack
        self.rc_pack = rc_pack
        self.game_center_file = game_center_file
        _, self.credentials = read_deployment(deployment)
        self._queries = 0
        self._servers = []

    def set_scenario(self, name):
        if name not in SCENARIOS:
            return False
        with self._lock:
            self.scenario = name
            self._queries = 0
        return True

    def package_answer(self, base_url):
        with self._lock:
            self._queries += 1
            scenario = self.scenario
            if scenario == "empty-first":
                scenario = "empty" if self._queries == 1 else "good"
        install_pack = self.install_pack
        if install_pack is None:
            install_pack = default_install_pack(self.root)
        rc_pack = self.rc_pack
        if rc_pack is None:
            rc_pack = default_rc_pack(self.root)
        return package_answer(scenario, base_url, self.root, install_pack,
                              rc_pack)

    def note(self, verdict, reason, handler, status, body=b""):
        entry = {"verdict": verdict, "reason": reason,
                 "method": handler.command, "target": handler.path,
                 "range": handler.headers.get("Range"), "status": status,
                 "body": body.decode("latin-1")}
        line = json.dumps(entry, ensure_ascii=True)
        with self._lock:
            self.requests.append(entry)
            if self.product_record:
                with open(self.product_record, "a", encoding="ascii") as f:
                    f.write(line + "\n")

    def _listen(self, port):
        httpd = http_test_server.ThreadingHTTPServer((self.host, port),
                                                     _ProductHandler)
        httpd.daemon_threads = True
        httpd.owner = self
        thread = threading.Thread(target=httpd.serve_forever,
                                  kwargs={"poll_interval": 0.1}, daemon=True)
        thread.start()
        self._servers.append((httpd, thread))
        return httpd.server_address[1]

    def start(self):
        self.port = self._listen(self.port)
        if self.web_port is not None:
            self.web_port = self._listen(self.web_port)
        return self.port

    def stop(self):
        self.stopping.set()
        for httpd, thread in self._servers:
            httpd.shutdown()
            thread.join()
            httpd.server_close()
        self._servers = []


def _windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main(argv=None):
    argv = list(sys.argv[1:] if argv is None else argv)
    command = []
    if "--run" in argv:
        at = argv.index("--run")
        command = argv[at + 1:]
        if command[:1] == ["--"]:
            command = command[1:]
        argv = argv[:at]
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=9090)
    parser.add_argument("--web-port", type=int)
    parser.add_argument("--packs")
    parser.add_argument("--scenario", default="good", choices=SCENARIOS)
    parser.add_argument("--record")
    parser.add_argument("--port-file")
    parser.add_argument("--install-pack")
    parser.add_argument("--rc-pack")
    parser.add_argument("--game-center-json")
    parser.add_argument("--deployment", default=DEFAULT_DEPLOYMENT)
    args = parser.parse_args(argv)
    if args.host != "127.0.0.1" and not args.host.startswith("127."):
        parser.error("the product server listens on loopback addresses only")
    if not command and (not args.packs or not args.record):
        parser.error("--packs and --record are required without --run")

    work = tempfile.mkdtemp(prefix="qiv-product.") if command else None
    packs = args.packs or os.path.join(work, "packs")
    record = args.record or os.path.join(work, "record.jsonl")
    os.makedirs(packs, exist_ok=True)
    open(record, "a").close()

    server = ProductServer(packs, record, args.scenario, args.host, args.port,
                           args.web_port, args.install_pack, args.rc_pack,
                           args.deployment, args.game_center_json)
    port = server.start()
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write("%d\n" % port)
        os.replace(args.port_file + ".tmp", args.port_file)
    try:
        if command:
            env = dict(os.environ)
            env.update({
                "QIV_PRODUCT_PORT": str(port),
                "QIV_PRODUCT_RECORD": _windows_path(record),
                "QIV_PRODUCT_RECORD_UNIX": os.path.abspath(record),
                "QIV_PRODUCT_PACKS": _windows_path(packs),
                "QIV_PRODUCT_PACKS_UNIX": os.path.abspath(packs),
            })
            return subprocess.call(command, env=env, stdin=subprocess.DEVNULL)
        print("product server on %s:%d%s" % (
            args.host, port, "" if args.web_port is None
            else " and :%d" % server.web_port), flush=True)
        done = threading.Event()
        signal.signal(signal.SIGTERM, lambda *_: done.set())
        signal.signal(signal.SIGINT, lambda *_: done.set())
        while not done.wait(0.5):
            pass
        return 0
    finally:
        server.stop()
        if work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
