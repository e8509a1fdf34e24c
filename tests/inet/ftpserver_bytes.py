#!/usr/bin/python3
"""The suites' FTP server, keeping file names that are not valid UTF-8.

pyftpdlib replaces undecodable bytes by default, which loses such names on the
way out and back. This wrapper makes it keep them (surrogate escapes, the same
scheme as Python's file system calls) and then runs tests/support/ftpserver.py
with the same arguments.
"""
import os
import runpy
import sys

from pyftpdlib.handlers import FTPHandler

FTPHandler.unicode_errors = "surrogateescape"

support = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support", "ftpserver.py")
sys.argv = [support] + sys.argv[1:]
runpy.run_path(support, run_name="__main__")
