#!/usr/bin/env python3
"""A small HTTPS server on 127.0.0.1 for the update tests and benchmarks.

It makes a test CA and a server certificate for 127.0.0.1 in --dir (ca.pem is the file the
program is told to trust), binds a free port and prints "ready <port>". Addresses:

  /files/<path>            the file under --root (404 when missing, or when the path holds an
                           empty folder name such as "a//b": a server need not mend it)
  /chunked/<path>          the same file in chunked transfer coding, no length announced
  /status/<code>           that status with a short body
  /redirect/https/<path>   301 to https://127.0.0.1:<port>/<path>
  /redirect/http/<path>    301 to http://127.0.0.1:<port>/<path> (plain HTTP)
  /stall                   announces 1000 bytes, sends 10, then sends nothing more
  /pause/<ms>/<path>       what /<path> answers, after ms milliseconds of silence
  /slow                    announces 100 MB and sends 1 KB every 20 ms
  /zeros/<n>               n zero bytes, as fast as possible
"""
import argparse
import http.server
import os
import shutil
import ssl
import subprocess
import sys
import time

BLOCK = 1 << 20


def make_certificates(folder):
    def openssl(*args):
        subprocess.run(["openssl", *args], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    openssl("req", "-x509", *ec, "-keyout", "ca.key", "-out", "ca.pem", "-days", "2",
            "-subj", "/CN=Tolvenic Test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", *ec, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1")
    with open(os.path.join(folder, "server.ext"), "w") as ext:
        ext.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                  "extendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-CAcreateserial", "-out", "server.pem", "-days", "2", "-extfile", "server.ext")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."

    def log_message(self, *args):
        pass

    def send_body(self, code, body, content_type="text/plain"):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def local_file(self, relative):
        if "//" in relative or relative.startswith("/"):
            return None
        path = os.path.realpath(os.path.join(self.root, relative))
        if not path.startswith(os.path.realpath(self.root) + os.sep) or not os.path.isfile(path):
            return None
        return path

    def do_GET(self):
        path = self.path.split("?", 1)[0]
        port = self.server.server_address[1]
        try:
            if path.startswith("/pause/"):
                milliseconds, rest = path[len("/pause/"):].split("/", 1)
                time.sleep(int(milliseconds) / 1000)
                path = "/" + rest
            if path.startswith("/files/"):
                self.send_file(path[len("/files/"):], chunked=False)
            elif path.startswith("/chunked/"):
                self.send_file(path[len("/chunked/"):], chunked=True)
            elif path.startswith("/status/"):
                code = int(path[len("/status/"):])
                self.send_body(code, b"status %d\n" % code)
            elif path.startswith("/redirect/https/") or path.startswith("/redirect/http/"):
                scheme, rest = path[len("/redirect/"):].split("/", 1)
                self.send_response(301)
                self.send_header("Location", "%s://127.0.0.1:%d/%s" % (scheme, port, rest))
                self.send_header("Content-Length", "0")
                self.end_headers()
            elif path == "/stall":
                self.send_response(200)
                self.send_header("Content-Length", "1000")
                self.end_headers()
                self.wfile.write(b"0123456789")
                self.wfile.flush()
                time.sleep(120)
            elif path == "/slow":
                self.send_response(200)
                self.send_header("Content-Length", str(100 << 20))
                self.end_headers()
                for _ in range(100 << 10):
                    self.wfile.write(b"s" * 1024)
                    self.wfile.flush()
                    time.sleep(0.02)
            elif path.startswith("/zeros/"):
                size = int(path[len("/zeros/"):])
                self.send_response(200)
                self.send_header("Content-Length", str(size))
                self.end_headers()
                block = bytes(BLOCK)
                while size > 0:
                    piece = min(size, BLOCK)
                    self.wfile.write(block[:piece])
                    size -= piece
            else:
                self.send_body(404, b"not found\n")
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            self.close_connection = True

    def send_file(self, relative, chunked):
        path = self.local_file(relative)
        if path is None:
            self.send_body(404, b"not found\n", "text/html")
            return
        with open(path, "rb") as f:
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            if chunked:
                self.send_header("Transfer-Encoding", "chunked")
                self.end_headers()
                while True:
                    piece = f.read(4096)
                    if not piece:
                        break
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                self.wfile.write(b"0\r\n\r\n")
            else:
                self.send_header("Content-Length", str(os.fstat(f.fileno()).st_size))
                self.end_headers()
                shutil.copyfileobj(f, self.wfile, BLOCK)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True, help="folder for the certificates")
    parser.add_argument("--root", required=True, help="folder served under /files/")
    args = parser.parse_args()
    make_certificates(args.dir)
    Handler.root = args.root
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(args.dir, "server.pem"),
                            os.path.join(args.dir, "server.key"))
    server.socket = context.wrap_socket(server.socket, server_side=True)
    print("ready %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
