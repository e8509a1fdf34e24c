#!/usr/bin/python3
"""A server that accepts connections on 127.0.0.1:PORT and never says a word,
for the benchmarks (bench/eventloop): a client waiting for the greeting
must stay usable and able to give up.

    silentftpd.py PORT
"""
import socket
import sys

listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", int(sys.argv[1])))
listener.listen(16)
print("ready", flush=True)
held = []
while True:
    connection, _ = listener.accept()
    held.append(connection)  # kept open, never answered
