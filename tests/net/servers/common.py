# Shared start-up for the network test servers: a listening socket on 127.0.0.1 with an
# ephemeral port, the port written to a file for the test, and a lifetime after which the
# process ends by itself.
import os
import socket
import threading


def listen_loopback():
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.bind(("127.0.0.1", 0))
    sock.listen(64)
    return sock


def announce_port(port_file, port):
    tmp = port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(str(port))
    os.rename(tmp, port_file)


def end_after(seconds):
    timer = threading.Timer(seconds, lambda: os._exit(0))
    timer.daemon = True
    timer.start()


def serve_forever(sock, handle):
    while True:
        conn, _ = sock.accept()
        threading.Thread(target=handle, args=(conn,), daemon=True).start()
