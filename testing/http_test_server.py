#!/usr/bin/env python3
"""Loopback HTTP server for the transfer tests: serves files, honours byte
ranges, accepts form POSTs, records every request, and misbehaves on demand.

It listens on 127.0.0.1 only. Behaviour is chosen per request by query
parameters, so one running server serves every test case at once:

  status=N        answer with status N (and a short body) instead of the file
  ranges=ignore   answer 200 with the whole file even when a Range is asked
  drop=N          send only N body bytes of the answer, then close the socket
  drops=K         with drop: misbehave only for the first K requests of this
                  URL (path + query); later requests are served normally
  stall=S         after the headers (and stall_after=N body bytes), send
                  nothing for S seconds, then close the socket
  length=missing  no Content-Length; the body ends when the socket closes
  length=N        announce Content-Length N whatever the body really holds
  tag=...         ignored; lets a test tell its own requests apart

Resources:
  GET  /files/<name>        a file below the root folder
  GET  /_control/release    ends every stall in progress at once
  GET  /text?body=<pct>     the percent-decoded body (may hold %00 bytes)
  POST <any path>           the form body is recorded; the answer is "ok"

Every request appends one line to the record file (and to `requests`):
  <METHOD> <path?query> range=<Range header or -> status=<n> body=<pct body>

Use as a module (HttpTestServer) or standalone:
  http_test_server.py --root DIR [--record FILE] [--port-file FILE] [--port N]
"""

import argparse
import os
import signal
import socket
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CHUNK = 64 * 1024


class _Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QivTestServer/1.0"

    def log_message(self, fmt, *args):  # keep test output quiet
        if self.server.owner.verbose:
            sys.stderr.write("%s\n" % (fmt % args))

    # -- request entry points -------------------------------------------
    def do_GET(self):
        self._serve(send_body=True)

    def do_HEAD(self):
        self._serve(send_body=False)

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        url = urllib.parse.urlsplit(self.path)
        params = _params(url.query)
        route = self.server.owner.routes.get(("POST", url.path))
        if route:
            status, headers, payload = route(self, body)
        else:
            status = int(params.get("status", "200"))
            headers, payload = {}, b"ok"
        self._record(status, body)
        self._answer_simple(status, payload, headers)

    # -- helpers ----------------------------------------------------------
    def _record(self, status, body=b""):
        self.server.owner.record(self.command, self.path,
                                 self.headers.get("Range"), status, body)

    def _answer_simple(self, status, payload, headers=None, send_body=True):
        self.send_response(status)
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(payload)))
        self.end_headers()
        if send_body:
            self.wfile.write(payload)

    def _resource(self, url):
        """Returns the body bytes of the addressed resource, or None."""
        if url.path == "/text":
            raw = urllib.parse.parse_qs(url.query, keep_blank_values=True,
                                        encoding="latin-1").get("body", [""])[0]
            return raw.encode("latin-1")
        if url.path.startswith("/files/"):
            name = urllib.parse.unquote(url.path[len("/files/"):])
            root = os.path.realpath(self.server.owner.root)
            full = os.path.realpath(os.path.join(root, name))
            if not full.startswith(root + os.sep) or not os.path.isfile(full):
                return None
            return _FileBody(full)
        return None

    def _serve(self, send_body):
        url = urllib.parse.urlsplit(self.path)
        params = _params(url.query)
        owner = self.server.owner
        if url.path == "/_control/release":
            owner.release_stalls()
            self._answer_simple(200, b"released", None, send_body)
            return
        route = owner.routes.get(("GET", url.path))
        if route:
            status, headers, payload = route(self, b"")
            self._record(status)
            self._answer_simple(status, payload, headers, send_body)
            return

        misbehave = owner.take_misbehaviour(self.path, params)
        if "status" in params and misbehave:
            status = int(params["status"])
            self._record(status)
            self._answer_simple(status, b"status %d" % status, None, send_body)
            return

        body = self._resource(url)
        if body is None:
            self._record(404)
            self._answer_simple(404, b"not found", None, send_body)
            return

        size = len(body)
        begin, end = 0, size
        status = 200
        range_header = self.headers.get("Range")
        ignore_ranges = misbehave and params.get("ranges") == "ignore"
        if range_header and not ignore_ranges:
            parsed = _parse_range(range_header, size)
            if parsed is None:
                self._record(416)
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            begin, end = parsed
            status = 206
        self._record(status)

        length_mode = params.get("length") if misbehave else None
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            self.send_header("Content-Range",
                             "bytes %d-%d/%d" % (begin, end - 1, size))
        if length_mode == "missing":
            self.send_header("Connection", "close")
            self.close_connection = True
        elif length_mode is not None:
            self.send_header("Content-Length", length_mode)
        else:
            self.send_header("Content-Length", str(end - begin))
        self.end_headers()
        if not send_body:
            return

        limit = end - begin
        if misbehave and "drop" in params:
            limit = min(limit, int(params["drop"]))
        stall_at = None
        if misbehave and "stall" in params:
            stall_at = min(limit, int(params.get("stall_after", "0")))
        try:
            sent = self._send_range(body, begin, begin + limit, stall_at, params)
        except (BrokenPipeError, ConnectionResetError, ConnectionAbortedError):
            self.close_connection = True
            return
        if sent < end - begin or length_mode is not None:
            # Cut the connection so that the client sees the short body now.
            self.close_connection = True
            self.wfile.flush()
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def _send_range(self, body, begin, end, stall_at, params):
        """Sends body[begin:end], stalling after stall_at bytes when asked.
        Returns the number of body bytes sent."""
        stop = end if stall_at is None else begin + stall_at
        offset = begin
        while offset < stop:
            step = min(CHUNK, stop - offset)
            self.wfile.write(body[offset:offset + step])
            offset += step
        if stall_at is not None:
            self.wfile.flush()
            self.server.owner.wait_stall(float(params["stall"]))
        return offset - begin


class _FileBody:
    """A file served without holding it in memory: len() and slicing."""

    def __init__(self, path):
        self.path = path
        self.size = os.path.getsize(path)

    def __len__(self):
        return self.size

    def __getitem__(self, piece):
        with open(self.path, "rb") as f:
            f.seek(piece.start)
            return f.read(piece.stop - piece.start)


def _params(query):
    return {k: v[-1] for k, v in
            urllib.parse.parse_qs(query, keep_blank_values=True).items()}


def _parse_range(header, size):
    """Single range "bytes=a-b", "bytes=a-" or "bytes=-n" (with or without
    a space after the colon of the header line). None when unsatisfiable."""
    value = header.strip()
    if not value.startswith("bytes="):
        return None
    wanted = value[len("bytes="):].split(",")[0].strip()
    first, _, last = wanted.partition("-")
    try:
        if first == "":
            n = int(last)
            return (max(0, size - n), size) if n > 0 else None
        a = int(first)
        b = int(last) + 1 if last else size
    except ValueError:
        return None
    b = min(b, size)
    if a >= size or a >= b:
        return None
    return a, b


class HttpTestServer:
    """The server as an object: start() returns the port, stop() ends it.

    routes maps (method, path) to handler(request_handler, body) returning
    (status, headers dict, payload bytes), for callers that need answers of
    their own (JSON, for example)."""

    def __init__(self, root, record_path=None, host="127.0.0.1", port=0,
                 verbose=False):
        self.root = root
        self.record_path = record_path
        self.host = host
        self.port = port
        self.verbose = verbose
        self.routes = {}
        self.requests = []
        self.stopping = threading.Event()
        self._lock = threading.Lock()
        self._release = threading.Event()
        self._counts = {}
        self._httpd = None
        self._thread = None

    def add_route(self, method, path, handler):
        self.routes[(method.upper(), path)] = handler

    def record(self, method, path, range_header, status, body):
        line = "%s %s range=%s status=%d body=%s" % (
            method, path, range_header or "-", status,
            urllib.parse.quote(body, safe=""))
        with self._lock:
            self.requests.append(line)
            if self.record_path:
                with open(self.record_path, "a", encoding="ascii") as f:
                    f.write(line + "\n")

    def wait_stall(self, seconds):
        """Waits `seconds`, or less when the stalls are released or the
        server stops."""
        with self._lock:
            release = self._release
        release.wait(seconds)

    def release_stalls(self):
        with self._lock:
            self._release.set()
            self._release = threading.Event()

    def take_misbehaviour(self, path, params):
        """Whether this request gets the misbehaviour its query asks for;
        counts requests of one URL when drops=K limits it."""
        if "drops" not in params:
            return True
        with self._lock:
            seen = self._counts.get(path, 0)
            self._counts[path] = seen + 1
        return seen < int(params["drops"])

    def start(self):
        self._httpd = ThreadingHTTPServer((self.host, self.port), _Handler)
        self._httpd.daemon_threads = True
        self._httpd.owner = self
        self.port = self._httpd.server_address[1]
        self._thread = threading.Thread(target=self._httpd.serve_forever,
                                        kwargs={"poll_interval": 0.1},
                                        daemon=True)
        self._thread.start()
        return self.port

    def serve_forever(self):
        self._httpd.serve_forever(poll_interval=0.1)

    def stop(self):
        self.stopping.set()
        with self._lock:
            self._release.set()
        if self._httpd:
            if self._thread:
                self._httpd.shutdown()
                self._thread.join()
            self._httpd.server_close()
            self._httpd = None


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--record")
    parser.add_argument("--port-file")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args(argv)

    server = HttpTestServer(args.root, args.record, port=args.port,
                            verbose=args.verbose)
    port = server.start()
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % port)
        os.replace(tmp, args.port_file)
    else:
        print(port, flush=True)
    done = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: done.set())
    signal.signal(signal.SIGINT, lambda *_: done.set())
    while not done.wait(0.5):
        pass
    server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
