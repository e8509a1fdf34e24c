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
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
# One process a connection: the single-process server loses active data
# connections when two sessions open them at once ("421 Active data channel
# timed out"), which a client with several connections does all the time;
# threads would share one working folder between sessions.
from pyftpdlib.servers import MultiprocessFTPServer


class Server(MultiprocessFTPServer):
    """Counts a client address's sessions itself: the spawning server forgets
    each connection as soon as its process runs."""
    max_per_address = 0

    def handle_accepted(self, sock, addr):
        if self.max_per_address:
            prefix = "(%r," % addr[0]
            with self._lock:
                held = sum(1 for t in self._active_tasks if t.is_alive() and t.name.startswith(prefix))
            if held >= self.max_per_address:
                try:
                    sock.sendall(b"421 Too many connections from the same IP address.\r\n")
                finally:
                    sock.close()
                return
        MultiprocessFTPServer.handle_accepted(self, sock, addr)


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
    parser.add_argument("--max-per-address", type=int, default=0,
                        help="connections one address may hold (0: no limit)")
    parser.add_argument("--rate", type=int, default=0,
                        help="bytes a second each data connection moves (0: no limit)")
    args = parser.parse_args()

    die_with_parent()
    # The sessions' processes go with the server's: stopping or killing the
    # group stops or kills them all.
    os.setpgrp()
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

    if args.rate:
        # A slow link: every data connection moves at most this many bytes a second.
        class Throttled(ThrottledDTPHandler):
            read_limit = args.rate
            write_limit = args.rate
        Handler.dtp_handler = Throttled
        Handler.use_sendfile = False

    server = Server(("127.0.0.1", args.port), Handler)
    server.max_cons = 64
    server.max_per_address = args.max_per_address
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
