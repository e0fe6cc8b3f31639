"""The web remote's traffic on port 7655, recorded by tcpdump on the test namespace's
loopback while a browser test runs, to show that what must stay private never crossed it."""
import os
import struct
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

    def so_far(self):
        """What is recorded until now (tcpdump -U writes each packet as it comes)."""
        with open(self.file, "rb") as recorded:
            return recorded.read()

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


def client_streams(data, port=7655):
    """What each client sent to the port, in order, one bytes object per connection, from a
    capture on the loopback (Ethernet frames of IPv4)."""
    streams = {}
    at = 24  # the file's header
    while at + 16 <= len(data):
        length = struct.unpack_from("<I", data, at + 8)[0]
        if at + 16 + length > len(data):
            break  # being written
        frame = data[at + 16:at + 16 + length]
        at += 16 + length
        if len(frame) < 34 or frame[12:14] != b"\x08\x00":
            continue
        ip = frame[14:]
        tcp = ip[(ip[0] & 0x0f) * 4:struct.unpack_from(">H", ip, 2)[0]]
        source, target, sequence = struct.unpack_from(">HHI", tcp)
        payload = tcp[(tcp[12] >> 4) * 4:]
        if target == port and payload:
            streams.setdefault(source, {})[sequence] = payload
    return [b"".join(parts[s] for s in sorted(parts)) for parts in streams.values()]
