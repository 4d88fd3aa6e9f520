#!/usr/bin/env python3
# An FTP server for tests (pyftpdlib): one user with read access to a folder, passive
# ports chosen by the system, every command logged to a file.
import argparse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
import logging

import common


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--lifetime", type=float, default=60)
    args = parser.parse_args()
    logging.disable(logging.CRITICAL)

    authorizer = DummyAuthorizer()
    authorizer.add_user("tester", "secret", args.root, perm="elr")

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            with open(args.log, "a") as log:
                log.write(line + "\n")
            return super().pre_process_command(line, cmd, arg)

    Handler.authorizer = authorizer
    Handler.banner = "quorix test ftp ready"
    Handler.use_sendfile = True
    Handler.auth_failed_timeout = 0.05
    server = FTPServer(("127.0.0.1", 0), Handler)
    common.end_after(args.lifetime)
    common.announce_port(args.port_file, server.socket.getsockname()[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
