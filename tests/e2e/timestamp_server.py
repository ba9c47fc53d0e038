# An RFC 3161 timestamp server on the loopback address for the release tests: each POST is
# a timestamp query, which OpenSSL's ts command answers with the key CONFIG names.
#   timestamp_server.py CONFIG     prints the port it listens on, then serves until killed
import http.server
import subprocess
import sys

config = sys.argv[1]


class TimestampHandler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        answer = subprocess.run(
            ["openssl", "ts", "-reply", "-config", config, "-queryfile", "/dev/stdin",
             "-out", "/dev/stdout"], input=query, capture_output=True)
        if answer.returncode != 0:
            self.send_error(500, answer.stderr.decode(errors="replace").splitlines()[0])
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(answer.stdout)))
        self.end_headers()
        self.wfile.write(answer.stdout)

    def log_message(self, format, *args):
        sys.stderr.write("timestamp server: " + format % args + "\n")


server = http.server.HTTPServer(("127.0.0.1", 0), TimestampHandler)
print(server.server_address[1], flush=True)
server.serve_forever()
