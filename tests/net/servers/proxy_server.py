#!/usr/bin/env python3
# A small CONNECT proxy for tests: logs each request head exactly as received, opens the
# tunnel to 127.0.0.1 only, and relays bytes both ways. --refuse answers 403 instead.
import argparse
import socket
import threading

import common


def read_head(conn):
    data = b""
    while b"\r\n\r\n" not in data and b"\n\n" not in data:
        byte = conn.recv(1)
        if not byte:
            return None
        data += byte
        if len(data) > 65536:
            return None
    return data


def pump(src, dst):
    try:
        while True:
            data = src.recv(65536)
            if not data:
                break
            dst.sendall(data)
    except OSError:
        pass
    for s in (dst,):
        try:
            s.shutdown(socket.SHUT_WR)
        except OSError:
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--lifetime", type=float, default=60)
    parser.add_argument("--refuse", action="store_true")
    args = parser.parse_args()
    lock = threading.Lock()

    def handle(conn):
        try:
            head = read_head(conn)
            if head is None:
                return
            with lock, open(args.log, "ab") as log:
                log.write(head)
            words = head.split(b" ")
            if args.refuse or len(words) < 2 or words[0] != b"CONNECT":
                # A body that looks like a reply: a client that ignores the refusal
                # would take it for the target's answer.
                body = b"HTTP/1.0 200 OK\r\n\r\nbad"
                conn.sendall(b"HTTP/1.0 403 Forbidden\r\nContent-Length: %d\r\n\r\n" % len(body) + body)
                return
            host, _, port = words[1].decode().rpartition(":")
            if host not in ("127.0.0.1", "localhost"):
                conn.sendall(b"HTTP/1.0 403 Forbidden\r\n\r\n")
                return
            upstream = socket.create_connection(("127.0.0.1", int(port)))
            conn.sendall(b"HTTP/1.0 200 Connection established\r\nProxy-agent: quorix-test\r\n\r\n")
            t = threading.Thread(target=pump, args=(upstream, conn), daemon=True)
            t.start()
            pump(conn, upstream)
            t.join()
            upstream.close()
        except OSError:
            pass
        finally:
            conn.close()

    sock = common.listen_loopback()
    common.end_after(args.lifetime)
    common.announce_port(args.port_file, sock.getsockname()[1])
    common.serve_forever(sock, handle)


if __name__ == "__main__":
    main()
