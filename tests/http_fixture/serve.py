#!/usr/bin/python3
"""A local web server for the download tests (standard library only).

Serves the files of --root on 127.0.0.1 at a free port and prints "PORT n"
once it listens. With --tls DIR it speaks HTTPS with a certificate for
127.0.0.1 signed by DIR/ca.pem (made with openssl when missing). Every
request is logged as "METHOD path" in ROOT/requests.log.

Paths with a behaviour of their own:
  /status/CODE          answers CODE with a small HTML page
  /redirect/PATH        302 to /PATH
  /html                 200 with an HTML page
  /empty                200 with no body
  /truncated/FILE       promises 1000 bytes more than FILE has, then closes
  /unsized/N/FILE       the first N bytes of FILE without a length, then closes
  /trickle/S/FILE       FILE one byte every S seconds
  /hang                 accepts the request and never answers
  /endless              200 and bytes without end
  /ajaxauth/login       POST identity and password (--user, --password):
                        a session cookie and "" when they match, else
                        {"Login":"Failed"}; the raw body goes to ROOT/login-body.txt.
                        While ROOT/login-answer holds "CODE [LOCATION]", the
                        answer is that status (and redirect) instead
  /basicspacedata/...   with the session cookie ROOT/spacetrack.tle, else 401
"""
import argparse
import http.server
import os
import secrets
import ssl
import subprocess
import sys
import time
import urllib.parse


def make_certificates(folder):
    ca_key, ca = os.path.join(folder, "ca.key"), os.path.join(folder, "ca.pem")
    key, cert = os.path.join(folder, "server.key"), os.path.join(folder, "server.pem")
    if all(os.path.exists(p) for p in (ca, key, cert)):
        return key, cert
    os.makedirs(folder, exist_ok=True)
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    run = lambda *args: subprocess.run(["openssl", *args], check=True, capture_output=True)
    run("req", "-x509", *ec, "-keyout", ca_key, "-out", ca, "-days", "30", "-subj", "/CN=KYT test CA",
        "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    csr = os.path.join(folder, "server.csr")
    run("req", *ec, "-keyout", key, "-out", csr, "-subj", "/CN=127.0.0.1")
    ext = os.path.join(folder, "server.ext")
    with open(ext, "w") as f:
        f.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
    run("x509", "-req", "-in", csr, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial", "-out", cert,
        "-days", "30", "-extfile", ext)
    return key, cert


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "KYTTest/1"
    token = secrets.token_hex(8)

    def log_message(self, *args):
        pass

    def log_request_line(self):
        with open(os.path.join(self.server.root, "requests.log"), "a") as f:
            f.write(f"{self.command} {self.path}\n")

    def answer(self, code, body=b"", content_type="application/octet-stream", headers=()):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        self.log_request_line()
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        path = urllib.parse.urlsplit(self.path).path
        if path != "/ajaxauth/login":
            return self.answer(404, b"<html>not found</html>", "text/html")
        with open(os.path.join(self.server.root, "login-body.txt"), "wb") as f:
            f.write(body)
        try:
            with open(os.path.join(self.server.root, "login-answer")) as f:
                code, *location = f.read().split()
            return self.answer(int(code), b"", "text/html", [("Location", url) for url in location])
        except FileNotFoundError:
            pass
        form = urllib.parse.parse_qs(body.decode("utf-8"), keep_blank_values=True)
        good = form.get("identity") == [self.server.user] and form.get("password") == [self.server.password]
        if good:
            self.answer(200, b'""', "application/json",
                        [("Set-Cookie", f"chocolatechip={self.token}; path=/; secure; HttpOnly")])
        else:
            self.answer(200, b'{"Login":"Failed"}', "application/json")

    def do_GET(self):
        self.log_request_line()
        path = urllib.parse.urlsplit(self.path).path
        root = self.server.root
        if path.startswith("/status/"):
            code = int(path.split("/")[2])
            return self.answer(code, b"<html><body>error page</body></html>", "text/html")
        if path.startswith("/redirect/"):
            self.send_response(302)
            self.send_header("Location", "/" + path[len("/redirect/"):])
            self.send_header("Content-Length", "0")
            return self.end_headers()
        if path == "/html":
            return self.answer(200, b"<html><body>Service moved</body></html>", "text/html")
        if path == "/empty":
            return self.answer(200)
        if path.startswith("/truncated/"):
            with open(os.path.join(root, path[len("/truncated/"):]), "rb") as f:
                data = f.read()
            self.send_response(200)
            self.send_header("Content-Length", str(len(data) + 1000))
            self.end_headers()
            self.wfile.write(data)
            self.wfile.flush()
            self.close_connection = True
            return
        if path.startswith("/unsized/") or path.startswith("/trickle/"):
            kind, value, name = path.split("/", 3)[1:]
            with open(os.path.join(root, name), "rb") as f:
                data = f.read()
            self.send_response(200)
            if kind == "unsized":
                self.end_headers()
                self.wfile.write(data[:int(value)])
                self.close_connection = True
                return
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            try:
                for byte in data:
                    self.wfile.write(bytes([byte]))
                    self.wfile.flush()
                    time.sleep(float(value))
            except OSError:
                pass
            return
        if path == "/hang":
            time.sleep(120)
            return
        if path == "/endless":
            self.send_response(200)
            self.end_headers()
            chunk = b"0" * 65536
            try:
                while True:
                    self.wfile.write(chunk)
            except OSError:
                return
        if path.startswith("/basicspacedata/"):
            if f"chocolatechip={self.token}" not in self.headers.get("Cookie", ""):
                return self.answer(401, b'{"error":"You must be logged in to complete this action"}',
                                   "application/json")
            path = "/spacetrack.tle"
        file = os.path.normpath(os.path.join(root, path.lstrip("/")))
        if not file.startswith(os.path.normpath(root) + os.sep) or not os.path.isfile(file):
            return self.answer(404, b"<html>not found</html>", "text/html")
        with open(file, "rb") as f:
            self.answer(200, f.read())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--tls")
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root, server.user, server.password = args.root, args.user, args.password
    if args.tls:
        key, cert = make_certificates(args.tls)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
