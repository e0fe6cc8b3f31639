#!/bin/bash
# Fuzzes the web remote's request parser and path rules, then its WebSocket frame
# reader, with clang's libFuzzer for a bounded time. Not part of CI: run it after
# changing anything in web/.
#   tools/fuzz.sh [SECONDS]    default 600 for each; the corpora stay in build/fuzz/corpus
#                              and build/fuzz/ws-corpus
# A finding is written to build/fuzz/crash-* and the script exits non-zero; replay it
# with build/fuzz/http_request_fuzz FILE (or websocket_frame_fuzz), then keep it as a
# unit test case.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
if ! command -v clang++ >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq clang
fi

out=build/fuzz
mkdir -p "$out/corpus" "$out/ws-corpus"
clang++ -std=c++11 -g -O1 -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  tools/fuzz/HttpRequestFuzz.cpp core/BrowsePaths.cpp web/HostNames.cpp web/HttpRequest.cpp \
  web/JsonText.cpp web/LogText.cpp web/Pairing.cpp web/ByteText.cpp web/TextLines.cpp \
  web/UrlText.cpp core/DeviceNames.cpp core/IPv4Text.cpp -o "$out/http_request_fuzz"
clang++ -std=c++11 -g -O1 -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  tools/fuzz/WebSocketFrameFuzz.cpp web/ByteText.cpp web/JsonText.cpp web/PairingKey.cpp \
  web/WebSocketFrames.cpp -o "$out/websocket_frame_fuzz"

# A few whole requests to start from; the first two bytes of each choose the split.
seed() { printf '%b' "$2" > "$out/corpus/seed-$1"; }
seed get '\x00\x05GET /api/status?since=3 HTTP/1.1\r\nHost: 192.168.1.20:7655\r\nCookie: quorvel=ab12\r\n\r\n'
seed post '\x01\x07POST /api/list HTTP/1.1\r\nHost: pc\r\nContent-Length: 30\r\n\r\npath=Z%3A%5Chome%5Cme%5CMusic'
seed pipelined '\x02\x01GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\nGET /app.js HTTP/1.1\nHost: pc\n\n'
seed agent '\x03\x09GET / HTTP/1.1\r\nHost: pc\r\nUser-Agent: Mozilla/5.0 (Linux; Android 14) Chrome/131.0 Mobile Safari/537.36\r\n\r\n'
seed pair '\x00\x02POST /api/pair HTTP/1.1\r\nHost: pc\r\nContent-Length: 112\r\n\r\nid=00112233445566778899aabbccddeeff&nonce=00112233445566778899aabbccddeeff&seal=00112233445566778899aabbccddeeff'
# Masked client frames (key 01 02 03 04): a fragmented "Hello" around a ping, then a close.
wseed() { printf '%b' "$2" > "$out/ws-corpus/seed-$1"; }
wseed fragments '\x00\x03\x01\x83\x01\x02\x03\x04\x49\x67\x6f\x89\x81\x01\x02\x03\x04\x71\x80\x82\x01\x02\x03\x04\x6d\x6d\x88\x82\x01\x02\x03\x04\x02\xea'
wseed long '\x01\x05\x82\xfe\x00\x80\x01\x02\x03\x04'

echo "Fuzzing the requests for $seconds s; the corpus is $out/corpus"
"$out/http_request_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
  -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus"
echo "Fuzzing the WebSocket frames for $seconds s; the corpus is $out/ws-corpus"
"$out/websocket_frame_fuzz" -max_total_time="$seconds" -max_len=70000 -timeout=10 \
  -artifact_prefix="$out/" -print_final_stats=1 "$out/ws-corpus"
