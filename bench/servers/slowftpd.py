#!/usr/bin/python3
"""An FTP server whose every control reply comes DELAY seconds late, as from a
server across a wide-area link, for the benchmarks (bench/parallel).

    slowftpd.py PORT ROOT [DELAY]      (DELAY default 0.025)

Serves ROOT anonymously with every right on 127.0.0.1:PORT, one thread per
connection (pyftpdlib's ThreadedFTPServer), so one connection's wait holds
no other. Data connections go at full speed: only round trips are slow.
Prints "ready" once it listens.
"""
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import ThreadedFTPServer


class SlowHandler(FTPHandler):
    delay = 0.025

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
    server = ThreadedFTPServer(("127.0.0.1", port), SlowHandler)
    server.max_cons = 64
    print("ready", flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.WARNING)
    main()
