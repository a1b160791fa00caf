#!/usr/bin/env python3
"""A small HTTP server for the test bench.

Serves one folder on 127.0.0.1 with an ephemeral port, writes every request
line (query string included) and its answer to a log, and misbehaves on
demand. Run a command beside it:

    kwhttpd.py [options] -- COMMAND [ARGS...]

starts the server, runs the command with KW_HTTPD_PORT, KW_HTTPD_ROOT and
KW_HTTPD_LOG in its environment, stops the server when the command ends and
exits with the command's status. Without a command it serves until the time
limit or the request limit is reached.

Misbehaviour is chosen per request by leading path segments, which are
removed before the file is looked up, so a test needs no set-up call:

    /@status=404/catalog.xml   answer 404 (any code from 400 to 599)
    /@status=404/@errorbody/catalog.xml
                               answer 404 with the file as the body
    /@delay=1.5/catalog.xml    wait 1.5 seconds, then serve
    /@cut=100/update.msp       announce the whole file but send 100 bytes
    /@redirect=3/catalog.xml   redirect (302) to /@redirect=2/catalog.xml, and
                               so on down to /catalog.xml
    /@endless/catalog.xml      answer 200 without a length and send the file's
                               bytes over and over until the client leaves
    /@rate=100000/update.msi   send at most 100000 bytes a second

With --tls CERT KEY the server speaks HTTPS with that certificate chain
(PEM files); clients reach it as https://localhost:PORT/.

Segments combine (/@delay=1/@cut=10/file). The same rules can be given for
a path at start-up with --status, --delay and --cut.

Files are served with range requests ("Range: bytes=N-" or "bytes=N-M"):
206 with the part asked for, or 416 past the end; a cut then counts the bytes
of the part. The log line of a request that carried a Range header has the
header's value in a third column.
"""

import argparse
import http.server
import os
import shutil
import signal
import socketserver
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

MAX_DELAY = 60.0
CONTENT_TYPES = {".xml": "text/xml", ".asp": "text/xml", ".txt": "text/plain", ".html": "text/html"}


class Rules:
    """Misbehaviour for one request: status, delay, cut."""

    def __init__(self):
        self.status = None
        self.delay = 0.0
        self.cut = None
        self.redirect = 0
        self.endless = False
        self.error_body = False
        self.rate = None

    def apply(self, name, value):
        if name == "status":
            code = int(value)
            if not 400 <= code <= 599:
                raise ValueError("status must lie between 400 and 599")
            self.status = code
        elif name == "delay":
            self.delay = min(max(float(value), 0.0), MAX_DELAY)
        elif name == "cut":
            self.cut = max(int(value), 0)
        elif name == "redirect":
            self.redirect = max(int(value), 0)
        elif name == "endless":
            self.endless = True
        elif name == "errorbody":
            self.error_body = True
        elif name == "rate":
            self.rate = max(int(value), 1)
        else:
            raise ValueError("unknown rule " + name)


def parse_rule_options(options, name, table):
    for option in options or []:
        path, _, value = option.partition("=")
        if not path.startswith("/") or not value:
            raise SystemExit("--%s expects /PATH=VALUE, got %r" % (name, option))
        table.setdefault(path, []).append((name, value))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = False

    def __init__(self, root, log_path, startup_rules, max_requests, tls=None):
        super().__init__(("127.0.0.1", 0), Handler)
        self.tls = None
        if tls:
            self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.tls.load_cert_chain(tls[0], tls[1])
        self.root = os.path.realpath(root)
        self.log = open(log_path, "a", encoding="latin-1", buffering=1)
        self.log_lock = threading.Lock()
        self.startup_rules = startup_rules
        self.requests_left = max_requests
        self.exhausted = threading.Event()

    def finish_request(self, request, client_address):
        # The handshake runs in the request's own thread, so a client that
        # refuses the certificate holds up no one else.
        if self.tls:
            try:
                request = self.tls.wrap_socket(request, server_side=True)
            except (ssl.SSLError, OSError):
                return
        super().finish_request(request, client_address)

    def record(self, request_line, status, byte_range=None):
        with self.log_lock:
            if self.log.closed:
                return
            extra = "\t%s" % byte_range if byte_range else ""
            self.log.write("%s\t%d%s\n" % (request_line, status, extra))
            self.requests_left -= 1
            if self.requests_left <= 0:
                self.exhausted.set()


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "kwhttpd"
    timeout = 30

    def log_message(self, format, *args):
        pass

    def do_HEAD(self):
        self.answer(send_body=False)

    def do_GET(self):
        self.answer(send_body=True)

    def answer(self, send_body):
        path = urllib.parse.urlsplit(self.path).path
        rules = Rules()
        try:
            segments = path.split("/")
            while len(segments) > 1 and segments[1].startswith("@"):
                segment = segments.pop(1)
                name, _, value = segment[1:].partition("=")
                rules.apply(name, value)
                if name == "redirect":
                    rest = "/".join(segments[1:])
                    count = rules.redirect
                    target = "/" + ("@redirect=%d/" % (count - 1) if count > 1 else "") + rest
                    break
            path = "/".join(segments)
            for name, value in self.server.startup_rules.get(path, []):
                rules.apply(name, value)
        except ValueError:
            return self.finish_with(400, send_body)
        if rules.delay:
            time.sleep(rules.delay)
        if rules.status and not rules.error_body:
            return self.finish_with(rules.status, send_body)
        if rules.redirect:
            return self.redirect_to(target, send_body)
        file_path = self.resolve(path)
        if file_path is None:
            return self.finish_with(404, send_body)
        with open(file_path, "rb") as source:
            body = source.read()
        extension = os.path.splitext(file_path)[1].lower()
        content_type = CONTENT_TYPES.get(extension, "application/octet-stream")
        if rules.endless:
            return self.send_endless(body, content_type, send_body)
        byte_range = self.headers.get("Range")
        status = rules.status or 200
        if rules.status:
            byte_range = None
        content_range = None
        if byte_range:
            part = self.parse_range(byte_range, len(body))
            if part is None:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % len(body))
                self.send_header("Content-Length", "0")
                self.end_headers()
                self.server.record(self.requestline, 416, byte_range)
                return
            if part != (0, len(body)):
                status = 206
                content_range = "bytes %d-%d/%d" % (part[0], part[1] - 1, len(body))
                body = body[part[0] : part[1]]
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Accept-Ranges", "bytes")
        if content_range:
            self.send_header("Content-Range", content_range)
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        self.server.record(self.requestline, status, byte_range)
        if send_body:
            if rules.cut is not None and rules.cut < len(body):
                self.wfile.write(body[: rules.cut])
                self.wfile.flush()
                self.close_connection = True
                return
            if rules.rate:
                return self.send_slowly(body, rules.rate)
            self.wfile.write(body)

    def send_slowly(self, body, rate):
        """The body in tenths of a second's worth, as a slow line would."""
        piece = max(rate // 10, 1)
        for start in range(0, len(body), piece):
            self.wfile.write(body[start : start + piece])
            self.wfile.flush()
            time.sleep(0.1)

    @staticmethod
    def parse_range(header, size):
        """(start, end) of "bytes=N-" or "bytes=N-M"; None when unsatisfiable."""
        unit, _, spec = header.partition("=")
        first, _, last = spec.partition("-")
        try:
            start = int(first)
            end = int(last) + 1 if last else size
        except ValueError:
            return (0, size)
        if unit.strip() != "bytes" or start >= size or end <= start:
            return None
        return (start, min(end, size))

    def redirect_to(self, target, send_body):
        self.send_response(302)
        self.send_header("Location", target)
        self.send_header("Content-Length", "0")
        self.end_headers()
        self.server.record(self.requestline, 302)

    def send_endless(self, body, content_type, send_body):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.end_headers()
        self.server.record(self.requestline, 200)
        self.close_connection = True
        if not send_body:
            return
        chunk = (body or b" ") * max(1, 65536 // max(len(body), 1))
        try:
            while True:
                self.wfile.write(chunk)
        except OSError:
            pass

    def resolve(self, path):
        """The served file for a URL path; None outside the root or missing."""
        relative = urllib.parse.unquote(path).lstrip("/")
        candidate = os.path.realpath(os.path.join(self.server.root, relative))
        if os.path.commonpath([candidate, self.server.root]) != self.server.root:
            return None
        return candidate if os.path.isfile(candidate) else None

    def finish_with(self, status, send_body):
        # Plain text, as many servers answer errors: a body that happens to be
        # well-formed XML would load in Wine's MSXML, which ignores the status.
        body = ("%d %s\n" % (status, self.responses.get(status, ("Error",))[0])).encode("ascii")
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.server.record(self.requestline, status)
        if send_body:
            self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser(description="Test-bench HTTP server on 127.0.0.1.")
    parser.add_argument("--root", help="folder to serve (default: a fresh temporary folder, removed at the end)")
    parser.add_argument("--log", help="request log (default: a temporary file, removed at the end)")
    parser.add_argument("--port-file", help="write the port number to this file once listening")
    parser.add_argument("--lifetime", type=float, default=600.0, help="stop after this many seconds (default 600)")
    parser.add_argument("--max-requests", type=int, default=10000, help="stop after this many requests")
    parser.add_argument("--status", action="append", metavar="/PATH=CODE", help="answer CODE for PATH")
    parser.add_argument("--delay", action="append", metavar="/PATH=SECONDS", help="delay the answer for PATH")
    parser.add_argument("--cut", action="append", metavar="/PATH=BYTES", help="cut the transfer of PATH")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"), help="speak HTTPS with this PEM certificate chain and key")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="-- COMMAND [ARGS...] to run beside the server")
    args = parser.parse_args()

    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    startup_rules = {}
    parse_rule_options(args.status, "status", startup_rules)
    parse_rule_options(args.delay, "delay", startup_rules)
    parse_rule_options(args.cut, "cut", startup_rules)
    try:
        for rules in startup_rules.values():
            check = Rules()
            for name, value in rules:
                check.apply(name, value)
    except ValueError as error:
        raise SystemExit(str(error))

    # A terminated server still cleans up and stops its command.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    workspace = tempfile.mkdtemp(prefix="kwhttpd-")
    root = args.root
    if root is None:
        root = os.path.join(workspace, "root")
        os.mkdir(root)
    log_path = os.path.abspath(args.log or os.path.join(workspace, "requests.log"))

    server = Server(root, log_path, startup_rules, args.max_requests, args.tls)
    port = server.server_address[1]
    if args.port_file:
        with open(args.port_file, "w") as out:
            out.write("%d\n" % port)
    if not command:
        print(port, flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    # Past the request limit the port closes, so a runaway client fails fast.
    threading.Thread(target=lambda: (server.exhausted.wait(), server.shutdown(), server.server_close()), daemon=True).start()

    status = 0
    child = None
    try:
        if command:
            environment = dict(os.environ)
            environment.update(KW_HTTPD_PORT=str(port), KW_HTTPD_ROOT=server.root, KW_HTTPD_LOG=log_path)
            # Loopback requests must never go through a proxy.
            for name in ("http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"):
                environment.pop(name, None)
            child = subprocess.Popen(command, env=environment)
            try:
                status = child.wait(timeout=args.lifetime)
            except subprocess.TimeoutExpired:
                print("kwhttpd: time limit reached, stopping %s" % command[0], file=sys.stderr)
                child.terminate()
                status = child.wait() or 1
        else:
            server.exhausted.wait(timeout=args.lifetime)
    except KeyboardInterrupt:
        status = 130
    finally:
        if child is not None and child.poll() is None:
            child.kill()
            child.wait()
        server.exhausted.set()
        server.shutdown()
        server.server_close()
        server.log.close()
        shutil.rmtree(workspace, ignore_errors=True)
    return status if status >= 0 else 128 - status


if __name__ == "__main__":
    sys.exit(main())
