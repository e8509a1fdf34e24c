#!/usr/bin/python3
"""A real FTP server for the test suites (pyftpdlib from Debian).

Prints "PORT <n>" once it listens on 127.0.0.1, then serves until killed. It
dies with the process that started it, so a crashed suite leaves nothing behind.

A folder holding a file named ".listing" answers LIST with that file's bytes
as they stand, so that tests can serve listings of any server's format; one
holding ".mlsd" answers MLSD so.

With --flaky DIR, the first download and the first upload of a file named
"flaky-..." lose their data connection after 64 KiB, abruptly, with a 426
reply, as when a link breaks; "flakyall-..." loses the control connection as
well. DIR remembers which transfers were cut already (the sessions are
processes of their own), so that the next try goes through.
"""
import argparse
import ctypes
import hashlib
import logging
import os
import signal
import socket
import struct
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
CANNED_MLSD = ".mlsd"


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
    parser.add_argument("--no-unique", action="store_true", help="MLSD and MLST without the unique fact")
    # pyftpdlib replaces undecodable bytes by default, which loses such names
    # on the way out and back; surrogate escapes keep them.
    parser.add_argument("--raw-names", action="store_true", help="keep names that are not UTF-8")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--max-per-address", type=int, default=0,
                        help="connections one address may hold (0: no limit)")
    parser.add_argument("--rate", type=int, default=0,
                        help="bytes a second each data connection moves (0: no limit)")
    # FTP over TLS (pyOpenSSL, Debian's python3-openssl): AUTH TLS after the
    # greeting, or TLS from the first byte.
    parser.add_argument("--tls", choices=["explicit", "implicit"])
    parser.add_argument("--cert", help="PEM file holding the certificate and its key")
    parser.add_argument("--refuse-prot", action="store_true", help="answer PROT P with 534")
    parser.add_argument("--plain-data", action="store_true",
                        help="TLS: data connections stay plain even after PROT P (a broken server)")
    parser.add_argument("--log-commands", help="append each command's verb to this file")
    parser.add_argument("--flaky", metavar="DIR", help="cut the first transfer of flaky-* files (see above)")
    parser.add_argument("--no-rest", action="store_true", help="no REST: transfers cannot resume")
    parser.add_argument("--no-size", action="store_true", help="no SIZE")
    parser.add_argument("--hash", action="store_true", help="HASH (SHA-256, SHA-1, MD5) and OPTS HASH")
    parser.add_argument("--wrong-hash", action="store_true", help="HASH answers the hash of other bytes")
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

    base = FTPHandler
    if args.tls:
        from pyftpdlib.handlers import DTPHandler, TLS_DTPHandler, TLS_FTPHandler
        base = TLS_FTPHandler

        class DataHandler(TLS_DTPHandler):
            def __init__(self, sock, cmd_channel):
                if args.plain_data:
                    DTPHandler.__init__(self, sock, cmd_channel)
                    self._error = False
                    self._ssl_want_read = self._ssl_want_write = False
                else:
                    super().__init__(sock, cmd_channel)

            # A download of a file named "drop-..." loses its data connection
            # after 64 KiB, abruptly (no close_notify), as when a link breaks.
            def send(self, data):
                name = getattr(self.file_obj, "name", "") or ""
                if name.rsplit("/", 1)[-1].startswith("drop-") and self.tot_bytes_sent >= 65536:
                    self._resp = ("426 Data connection dropped; transfer aborted.", logging.info)
                    self._error = True
                    self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                    self.close()
                    return 0
                return super().send(data)

    def cut_now(name, direction, done):
        """True once per file and direction, after 64 KiB."""
        base_name = os.path.basename(name or "")
        if not args.flaky or not base_name.startswith(("flaky-", "flakyall-")) or done < 65536:
            return False
        mark = os.path.join(args.flaky, direction + "-" + hashlib.sha1(base_name.encode()).hexdigest())
        try:
            os.close(os.open(mark, os.O_CREAT | os.O_EXCL))
        except FileExistsError:
            return False
        return True

    def make_flaky(dtp_base):
        class FlakyData(dtp_base):
            def use_sendfile(self):
                return False

            def cut(self):
                self._resp = ("426 Data connection lost; transfer aborted.", logging.info)
                self._error = True
                self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                whole = os.path.basename(getattr(self.file_obj, "name", "") or "").startswith("flakyall-")
                control = self.cmd_channel
                self.close()
                if whole:
                    control.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                    control.close()

            def send(self, data):
                if cut_now(getattr(self.file_obj, "name", ""), "down", self.tot_bytes_sent):
                    self.cut()
                    return 0
                return super().send(data)

            def handle_read(self):
                if cut_now(getattr(self.file_obj, "name", ""), "up", self.tot_bytes_received):
                    self.cut()
                    return
                super().handle_read()

            handle_read_event = handle_read
        return FlakyData

    class Handler(base):
        def __init__(self, *a, **kw):
            super().__init__(*a, **kw)
            if args.hash:
                self._extra_feats = list(self._extra_feats) + ["HASH SHA-256*;SHA-1;MD5"]
            if args.no_unique:
                self._current_facts = [f for f in self._current_facts if f != "unique"]
                self._available_facts = [f for f in self._available_facts if f != "unique"]

        # Every command that arrives, known to the server or not.
        def pre_process_command(self, line, cmd, arg):
            if args.log_commands:
                with open(args.log_commands, "a") as log:
                    log.write(cmd + "\n")
            return super().pre_process_command(line, cmd, arg)

        # Implicit TLS begins with the handshake, in the process that serves
        # the connection: the accepting process hands the socket over before
        # the client has said a word, and must not have touched it.
        def handle(self):
            if args.tls == "implicit":
                self._tls_pending = True
                return
            super().handle()

        def add_channel(self, *a, **kw):
            super().add_channel(*a, **kw)
            if getattr(self, "_tls_pending", False) and self.ioloop is not self.server.ioloop:
                self._tls_pending = False
                self.secure_connection(self.ssl_context)
                super().handle()

        # A folder's canned answer, sent as it stands; False when it has none.
        def push_canned(self, path, name, cmd):
            canned = os.path.join(path, name)
            if not (os.path.isdir(path) and os.path.isfile(canned)):
                return False
            with open(canned, "rb") as f:
                self.push_dtp_data(f.read(), cmd=cmd)
            return True

        def ftp_LIST(self, path):
            return path if self.push_canned(path, CANNED_LISTING, "LIST") else super().ftp_LIST(path)

        def ftp_MLSD(self, path):
            return path if self.push_canned(path, CANNED_MLSD, "MLSD") else super().ftp_MLSD(path)

        def ftp_OPTS(self, line):
            if args.hash and line.upper().startswith("HASH "):
                wanted = line[5:].strip().upper()
                if wanted not in HASHES:
                    self.respond("501 Unknown algorithm.")
                    return
                self._hash = wanted
                self.respond("200 " + wanted)
                return
            return super().ftp_OPTS(line)

        def ftp_HASH(self, path):
            algorithm = getattr(self, "_hash", "SHA-256")
            digest = hashlib.new(HASHES[algorithm])
            try:
                with open(path, "rb") as f:
                    while True:
                        chunk = f.read(1 << 20)
                        if not chunk:
                            break
                        digest.update(chunk)
            except OSError as err:
                self.respond("550 %s." % err.strerror)
                return
            if args.wrong_hash:
                digest.update(b"not the same")
            size = os.path.getsize(path)
            self.respond("213 %s 0-%d %s %s" % (algorithm, size, digest.hexdigest(), os.path.basename(path)))

        def ftp_PROT(self, line):
            if args.refuse_prot:
                self.respond("534 PROT P refused by policy.")
                return
            return super().ftp_PROT(line)

    if args.tls:
        Handler.certfile = args.cert
        Handler.dtp_handler = DataHandler

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

    HASHES = {"SHA-256": "sha256", "SHA-1": "sha1", "MD5": "md5"}
    if args.hash:
        Handler.proto_cmds = dict(Handler.proto_cmds)
        Handler.proto_cmds["HASH"] = dict(perm="r", auth=True, arg=True, help="Syntax: HASH <SP> file-name")
    if args.no_rest or args.no_size:
        gone = (["REST"] if args.no_rest else []) + (["SIZE"] if args.no_size else [])
        Handler.proto_cmds = {k: v for k, v in Handler.proto_cmds.items() if k not in gone}
    if args.flaky:
        Handler.dtp_handler = make_flaky(Handler.dtp_handler)
        Handler.use_sendfile = False

    if args.rate:
        # A slow link: every data connection moves at most this many bytes a second.
        # The throttle sits on top of the data channel chosen above (TLS,
        # flaky or both), so that the options compose.
        bases = (ThrottledDTPHandler, Handler.dtp_handler)
        Handler.dtp_handler = type("Throttled", bases, {"read_limit": args.rate, "write_limit": args.rate})
        Handler.use_sendfile = False

    server = Server(("127.0.0.1", args.port), Handler)
    server.max_cons = 64
    server.max_per_address = args.max_per_address
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
