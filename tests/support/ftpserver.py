#!/usr/bin/python3
"""A real FTP server for the test suites (pyftpdlib from Debian).

Prints "PORT <n>" once it listens on 127.0.0.1, then serves until killed. It
dies with the process that started it, so a crashed suite leaves nothing behind.

A folder holding a file named ".listing" answers LIST with that file's bytes
as they stand, so that tests can serve listings of any server's format.
"""
import argparse
import ctypes
import logging
import os
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


CANNED_LISTING = ".listing"


def die_with_parent():
    try:
        libc = ctypes.CDLL("libc.so.6", use_errno=True)
        PR_SET_PDEATHSIG = 1
        libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)
    except OSError:
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--anonymous", action="store_true")
    parser.add_argument("--no-mlsd", action="store_true", help="answer LIST only")
    # pyftpdlib replaces undecodable bytes by default, which loses such names
    # on the way out and back; surrogate escapes keep them.
    parser.add_argument("--raw-names", action="store_true", help="keep names that are not UTF-8")
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()

    die_with_parent()
    logging.basicConfig(level=logging.ERROR)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.anonymous:
        authorizer.add_anonymous(args.root, perm="elradfmwMT")

    class Handler(FTPHandler):
        def ftp_LIST(self, path):
            canned = os.path.join(path, CANNED_LISTING)
            if os.path.isdir(path) and os.path.isfile(canned):
                with open(canned, "rb") as f:
                    self.push_dtp_data(f.read(), cmd="LIST")
                return path
            return FTPHandler.ftp_LIST(self, path)

    Handler.authorizer = authorizer
    Handler.banner = "Tarvo test server ready."
    Handler.permit_foreign_addresses = False
    Handler.permit_privileged_ports = False
    Handler.use_sendfile = True
    Handler.timeout = 120
    Handler.auth_failed_timeout = 0  # no 3-second penalty for the wrong-password tests
    if args.raw_names:
        Handler.unicode_errors = "surrogateescape"
    if args.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items()
                              if k not in ("MLSD", "MLST")}

    server = FTPServer(("127.0.0.1", args.port), Handler)
    server.max_cons = 64
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
