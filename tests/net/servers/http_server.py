#!/usr/bin/env python3
# An HTTP (or, with --cert/--key, HTTPS) server for the transfer client's tests. It writes
# its replies byte by byte as each test needs them: content-length, chunked and until-close
# bodies, redirects, errors, cookies, echoes of the request, and malformed replies.
import argparse
import os
import socket
import ssl

import common

ARGS = None


def send(conn, data):
    conn.sendall(data)


def reply(conn, status, body=b"", headers=(), length=True):
    head = b"HTTP/1.1 " + status + b"\r\n"
    for h in headers:
        head += h + b"\r\n"
    if length:
        head += b"Content-Length: %d\r\n" % len(body)
    send(conn, head + b"\r\n" + body)


def file_path(name):
    path = os.path.realpath(os.path.join(ARGS.root, name))
    if not path.startswith(os.path.realpath(ARGS.root) + os.sep) or not os.path.isfile(path):
        return None
    return path


def serve_file(conn, name):
    path = file_path(name)
    if path is None:
        reply(conn, b"404 Not Found", b"no such file")
        return True
    size = os.path.getsize(path)
    send(conn, b"HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: %d\r\n\r\n" % size)
    with open(path, "rb") as f:
        if isinstance(conn, ssl.SSLSocket):
            # Large writes: the library's own fallback sends 8 KiB at a time.
            while True:
                block = f.read(1 << 18)
                if not block:
                    break
                conn.sendall(block)
        else:
            conn.sendfile(f)
    return True


def serve_chunked(conn, name):
    path = file_path(name)
    data = open(path, "rb").read() if path else b""
    send(conn, b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n")
    sizes = [1, 7, 100, 1000, 4096, 3, 65536, 10]
    pos, i = 0, 0
    while pos < len(data):
        n = min(sizes[i % len(sizes)], len(data) - pos)
        # Vary the size line: upper-case hex, a blank before the line end, an extension.
        line = [b"%x\r\n", b"%X \r\n", b"%x;name=value\r\n"][i % 3] % n
        send(conn, line + data[pos:pos + n] + b"\r\n")
        pos += n
        i += 1
    send(conn, b"0\r\nX-Check: done\r\nX-More: yes\r\n\r\n")
    return True


def close_tls(conn):
    if isinstance(conn, ssl.SSLSocket):
        try:
            conn.unwrap()
        except (OSError, ValueError):
            pass


def route(conn, method, path, head, body):
    port = ARGS.port
    scheme = b"https" if ARGS.cert else b"http"
    if path.startswith(b"/files/"):
        return serve_file(conn, path[7:].decode())
    if path.startswith(b"/chunked/"):
        return serve_chunked(conn, path[9:].decode())
    if path.startswith(b"/close/"):
        p = file_path(path[7:].decode())
        send(conn, b"HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n" + (open(p, "rb").read() if p else b""))
        close_tls(conn)
        return False
    if path.startswith(b"/redirect/"):
        reply(conn, b"302 Found", b"moved", [b"Location: /" + path[10:]])
        return True
    if path.startswith(b"/redirect-abs/"):
        reply(conn, b"301 Moved Permanently", b"", [b"Location: %s://127.0.0.1:%d/%s" % (scheme, port, path[14:])])
        return True
    if path == b"/redirect-loop":
        reply(conn, b"302 Found", b"", [b"Location: /redirect-loop"])
        return True
    if path == b"/missing":
        reply(conn, b"404 Not Found", b"not here")
        return True
    if path == b"/server-error":
        reply(conn, b"503 Service Unavailable", b"busy")
        return True
    if path == b"/cookie/set":
        cookies = [b"a=1; Path=/", b"b=2", b"N" * 40 + b"=" + b"v" * 300 + b"; HttpOnly", b"a=11", b"c=3", b"d=4", b"e=5",
                   b"no-equals-sign"]
        reply(conn, b"200 OK", b"set", [b"Set-Cookie: " + c for c in cookies])
        return True
    if path == b"/cookie/redirect":
        reply(conn, b"302 Found", b"", [b"Set-Cookie: session=xyz; Path=/", b"Location: /cookie/echo"])
        return True
    if path == b"/cookie/echo":
        cookie = b"(none)"
        for line in head.split(b"\r\n"):
            if line.lower().startswith(b"cookie: "):
                cookie = line[8:]
        reply(conn, b"200 OK", cookie)
        return True
    if path.split(b"?")[0] == b"/echo":
        reply(conn, b"200 OK", head + body, [b"Connection: close"])
        return False
    if path.startswith(b"/lf-only/"):
        send(conn, b"HTTP/1.1 200 OK\nContent-Length: 5\n\nhello")
        return True
    if path.startswith(b"/lfcr/"):
        send(conn, b"HTTP/1.1 200 OK\n\rContent-Length: 5\n\r\n\rhello")
        return False
    if path == b"/no-content":
        send(conn, b"HTTP/1.1 204 No Content\r\n\r\n")
        return True
    if path == b"/no-reason":
        send(conn, b"HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok")
        return True
    return bad(conn, path)


def bad(conn, path):
    if path == b"/bad/huge-header":
        send(conn, b"HTTP/1.1 200 OK\r\nX-Huge: " + b"a" * 100000 + b"Location: /evil\r\nContent-Length: 5\r\n\r\nhello")
        return True
    if path == b"/bad/endless-header":
        send(conn, b"HTTP/1.1 200 OK\r\n")
        for _ in range(2200):
            send(conn, b"X-Filler: " + b"f" * 1000 + b"\r\n")
        return False
    if path == b"/bad/chunk-size":
        send(conn, b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\nzz\r\nxx\r\n0\r\n\r\n")
        return False
    if path == b"/bad/chunk-overflow":
        send(conn, b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffffff\r\nx")
        return False
    if path == b"/bad/chunk-close":
        send(conn, b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n100\r\n0123456789")
        return False
    if path == b"/bad/early-close":
        send(conn, b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789")
        return False
    if path == b"/bad/header-close":
        send(conn, b"HTTP/1.1 200 OK\r\nContent-Len")
        return False
    if path == b"/bad/no-status":
        send(conn, b"hello there\r\nContent-Length: 2\r\n\r\nhi")
        return False
    if path == b"/bad/empty-first-line":
        send(conn, b"\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi")
        return False
    if path == b"/bad/nothing":
        return False
    reply(conn, b"404 Not Found", b"unknown test path")
    return True


def read_request(reader):
    head = b""
    while True:
        line = reader.readline(70000)
        if not line:
            return None, None
        head += line
        if line in (b"\r\n", b"\n"):
            break
    length = 0
    for line in head.split(b"\r\n"):
        if line.lower().startswith(b"content-length:"):
            length = int(line.split(b":", 1)[1])
    body = reader.read(length) if length else b""
    return head, body


def handle(conn):
    try:
        if ARGS.cert:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(ARGS.cert, ARGS.key)
            conn = context.wrap_socket(conn, server_side=True)
        reader = conn.makefile("rb")
        while True:
            head, body = read_request(reader)
            if head is None:
                break
            words = head.split(b" ")
            if len(words) < 3 or not route(conn, words[0], words[1], head, body):
                break
    except (OSError, ValueError, ssl.SSLError):
        pass
    finally:
        try:
            conn.close()
        except OSError:
            pass


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--lifetime", type=float, default=60)
    ARGS = parser.parse_args()
    sock = common.listen_loopback()
    ARGS.port = sock.getsockname()[1]
    common.end_after(ARGS.lifetime)
    common.announce_port(ARGS.port_file, ARGS.port)
    common.serve_forever(sock, handle)


if __name__ == "__main__":
    main()
