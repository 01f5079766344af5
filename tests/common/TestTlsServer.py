"""A TLS server on 127.0.0.1 for the tests.

Usage: TestTlsServer.py CERT KEY ROUTES
Answers each request with the raw bytes of ROUTES/<the request target in
hex>, or a 404 when there is no such file, then closes the connection.
Prints its port on a line of its own, then serves until its standard input
closes, so that it ends with the test that started it.
"""
import os
import select
import socket
import ssl
import sys

NOT_FOUND = b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"


def answer(context, client, routes):
    client.settimeout(5)
    with context.wrap_socket(client, server_side=True) as tls:
        request = b""
        while b"\r\n\r\n" not in request:
            chunk = tls.recv(4096)
            if not chunk:
                return
            request += chunk
        target = request.split(b" ", 2)[1]
        try:
            with open(os.path.join(routes, target.hex()), "rb") as route:
                raw = route.read()
        except OSError:
            raw = NOT_FOUND
        tls.sendall(raw)


def main():
    cert, key, routes = sys.argv[1:4]
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)
    while True:
        ready, _, _ = select.select([listener, sys.stdin], [], [])
        if sys.stdin in ready and not os.read(sys.stdin.fileno(), 1):
            return
        if listener in ready:
            client, _ = listener.accept()
            try:
                answer(context, client, routes)
            except (OSError, IndexError):
                pass  # a client that refused the certificate, or hung up
            finally:
                client.close()


main()
