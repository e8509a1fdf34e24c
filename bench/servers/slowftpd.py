#!/usr/bin/python3
"""An FTP server whose every control reply comes DELAY seconds late, as from a
server across a wide-area link, for the benchmarks (bench/parallel).

    slowftpd.py PORT ROOT [DELAY]      (DELAY default 0.025)

Serves ROOT anonymously with every right on 127.0.0.1:PORT, one thread per
connection (pyftpdlib's ThreadedFTPServer), so one connection's wait holds
no other. Data connections go at full speed: only round trips are slow.
Prints "ready" once it listens. With SLOWFTPD_LOG=FILE set, every command
is written to FILE as "seconds connection command argument", for counting where a
run's round trips go.
"""
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import ThreadedFTPServer


class SlowHandler(FTPHandler):
    delay = 0.025

    def ftp_CWD(self, path):
        # pyftpdlib checks a CWD by changing the process's folder and back,
        # which threads race on: one goes back to another's folder, and the
        # process is left in a folder the benchmark deletes between runs,
        # after which every CWD fails. The check needs no change of folder.
        if not os.path.isdir(path) or not os.access(path, os.X_OK):
            self.respond('550 No such directory.')
            return
        self.fs.cwd = self.fs.fs2ftp(path)
        self.respond('250 "%s" is the current directory.' % self.fs.cwd)

    command_log = None

    def pre_process_command(self, line, cmd, arg):
        if self.command_log:
            self.command_log.write("%.3f %d %s %s\n" % (time.time(), id(self) % 100000, cmd, arg or ""))
            self.command_log.flush()
        super().pre_process_command(line, cmd, arg)

    def respond(self, resp, logfun=None):
        time.sleep(self.delay)
        if logfun is None:
            super().respond(resp)
        else:
            super().respond(resp, logfun)


def main():
    port, root = int(sys.argv[1]), sys.argv[2]
    SlowHandler.delay = float(sys.argv[3]) if len(sys.argv) > 3 else 0.025
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root, perm="elradfmwMT")
    SlowHandler.authorizer = authorizer
    SlowHandler.banner = "slowftpd ready"
    if os.environ.get("SLOWFTPD_LOG"):
        SlowHandler.command_log = open(os.environ["SLOWFTPD_LOG"], "a")
    server = ThreadedFTPServer(("127.0.0.1", port), SlowHandler)
    server.max_cons = 64
    print("ready", flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.WARNING)
    main()
