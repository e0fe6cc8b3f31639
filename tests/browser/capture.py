"""The web remote's traffic on port 7655, recorded by tcpdump on the test namespace's
loopback while a browser test runs, to show that what must stay private never crossed it."""
import os
import subprocess
import tempfile

WAIT_S = 60


class Capture:
    def __init__(self, port=7655):
        self.folder = tempfile.mkdtemp(prefix="quorvel-capture-")
        self.file = os.path.join(self.folder, "web.pcap")
        # -U writes each packet as it comes; -Z root keeps the right to write in our folder.
        self.process = subprocess.Popen(
            ["tcpdump", "-i", "lo", "-U", "-Z", "root", "-s", "0", "-w", self.file,
             "tcp port %d" % port], stderr=subprocess.PIPE, text=True)
        line = self.process.stderr.readline()
        if "listening on" not in line:
            raise SystemExit("tcpdump did not start: " + line)

    def stop(self):
        """Everything recorded, as bytes."""
        self.process.terminate()
        self.process.communicate(timeout=WAIT_S)
        with open(self.file, "rb") as recorded:
            data = recorded.read()
        os.remove(self.file)
        os.rmdir(self.folder)
        return data


def found_in(data, secrets):
    """The secrets (text or bytes) that the bytes hold anywhere; text is looked for as UTF-8
    and as the PC's code page. A packet boundary could split one: the messages here are
    far shorter than a packet."""
    found = []
    for secret in secrets:
        forms = [secret] if isinstance(secret, bytes) else [secret.encode(), secret.encode("cp1252")]
        if any(form and form in data for form in forms):
            found.append(secret)
    return found
