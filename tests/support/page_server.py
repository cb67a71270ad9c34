"""Serves a folder on 127.0.0.1 for the downloader tests and prints its port.

Paths under /slow/ are served in small pieces with pauses, so a download stays
in progress long enough to be stopped; /hang never answers.
Usage: page_server.py FOLDER
"""
import functools
import http.server
import os
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path == "/hang":
            time.sleep(3600)
            return
        if not self.path.startswith("/slow/"):
            return super().do_GET()
        path = os.path.join(self.directory, self.path[len("/slow/"):])
        with open(path, "rb") as media:
            data = media.read()
        self.send_response(200)
        self.send_header("Content-Type", "video/mp4")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            for start in range(0, len(data), 256):
                self.wfile.write(data[start:start + 256])
                self.wfile.flush()
                time.sleep(0.5)
        except (BrokenPipeError, ConnectionResetError):
            pass


def main():
    handler = functools.partial(Handler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
