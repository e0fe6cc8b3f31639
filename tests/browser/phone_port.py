#!/usr/bin/python3
"""A page from another local address posts to the phone port, as any web page in a
browser on the PC may: the connection is closed with nothing run, and a phone after
it is served.  phone_port.py RIG HELPER"""
import http.server
import shutil
import socket
import sys
import tempfile
import threading

from web_remote import Helper, browser, wait_for

# The body holds VOLM@ at every alignment, and the commands that would end the server.
PAGE = b"""<!doctype html><title>page</title><script>
fetch('http://127.0.0.1:7654/', {method: 'POST', mode: 'no-cors',
      body: 'VOLM@VOLM@xVOLM@xxVOLM@xxxVOLM@SHUTEXIT'})
  .finally(() => { document.title = 'sent'; });
</script>"""
CLOSED = "Closed the connection from 127.0.0.1: it spoke HTTP, not the phone's protocol"


class Page(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.end_headers()
        self.wfile.write(PAGE)

    def log_message(self, *args):
        pass


helper = Helper(sys.argv[1], sys.argv[2])
helper.phone.close()  # the port is free for the page
server = http.server.HTTPServer(("127.0.0.2", 0), Page)
threading.Thread(target=server.serve_forever, daemon=True).start()
profile = tempfile.mkdtemp(prefix="quorvel-chromium-")
driver = browser(profile)
failures = []
try:
    helper.block("forget")
    driver.get("http://127.0.0.2:%d/" % server.server_port)
    wait_for(lambda: driver.title == "sent", "the page's request to end")
    log = wait_for(lambda: CLOSED in helper.block("log") and helper.block("log"), "the line")
    phone = socket.create_connection(("127.0.0.1", 7654), 60)
    phone.sendall(b"CHCK")
    if phone.recv(1) != b"Y":
        failures.append("the phone after the page was not answered")
    phone.close()
    messages = helper.block("messages")
    if messages or "Set volume" in log or "unknown command" in log:
        failures.append("the page's request was run: %r, log %r" % (messages, log))
finally:
    driver.quit()
    helper.close()
    server.shutdown()
    shutil.rmtree(profile, ignore_errors=True)
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
