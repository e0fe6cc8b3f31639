// The live channel to the PC (docs/web-channel.md): one WebSocket at /api/live, opened with
// this browser's id and fresh nonces, then sealed frames each way. Requests get promises
// of their answers; pushes are handed on at once. A lost channel is opened again with backoff.
import { channelKeys, fromHex, hex, openFrame, randomBytes, sealFrame } from './channel-crypto.js';

const FIRST_RETRY_MS = 500;
const LAST_RETRY_MS = 2000;
// An answer the PC owes for longer than this (it answers 503 after 5 s) means the
// connection is gone without a word, as when the phone leaves the Wi-Fi.
const ANSWER_LIMIT_MS = 20000;
// How long the channel may stay silent before the page asks whether the PC is there.
const QUIET_LIMIT_MS = 25000;
const NONCE_BYTES = 16;

// Why a request failed when the PC gave no answer: the banner tells, not a message.
export class Unreachable extends Error {}

// The channel, for the page and for any view that talks to the PC:
//   channel.request(op, fields)  a promise of the answer's fields; it fails with an Error
//                                whose .status is the PC's (400, 403, 404, 503), or with an
//                                Unreachable while the channel is down
//   channel.send(message)        one message with no answer ({"op":"input",...}); dropped,
//                                returning false, while the channel is down
//   channel.sendInput(events)    send({op: 'input', events})
//   channel.isOpen               true between 'open' and 'close'
// It is an EventTarget: 'open' when the channel is open, 'close' when it went down or a try
// to open it failed (again each time while the PC cannot be reached), 'push' with the
// PC's message as event.detail ({"push": "state" | "input", ...}), and 'unpaired' with the
// reason ("removed", "unknown") when the PC no longer knows this browser. The same object
// is window.quorvelChannel, for scripts that are not modules.
class LiveChannel extends EventTarget {
  constructor() {
    super();
    this.isOpen = false;
    this.pairing = null;  // { id, k } while the page is paired
    this.socket = null;
    this.dormant = false;  // replaced by a channel of another tab: no retries until woken
    this.retryMs = FIRST_RETRY_MS;
    this.retryTimer = 0;
    this.quietTimer = 0;
    this.pending = new Map();  // request id -> { resolve, reject, timer }
    this.nextId = 1;
  }

  // Opens the channel for a pairing ({ id: hex, k: bytes }) and keeps it open until stop().
  start(pairing) {
    this.stop();
    this.pairing = pairing;
    this.dormant = false;
    this.connect();
  }

  stop() {
    this.pairing = null;
    clearTimeout(this.retryTimer);
    if (this.socket) this.drop();
  }

  request(op, fields) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      if (!this.isOpen) {
        reject(new Unreachable());
        return;
      }
      const timer = setTimeout(() => this.drop(), ANSWER_LIMIT_MS);
      this.pending.set(id, { resolve: resolve, reject: reject, timer: timer });
      this.send(Object.assign({ id: id, op: op }, fields));
    });
  }

  send(message) {
    if (!this.isOpen) return false;
    this.sent++;
    this.socket.send(sealFrame(this.keys.up, this.sent, JSON.stringify(message)));
    return true;
  }

  // A phone back from sleep or from another app (or a tab in use again) tries at once rather
  // than at the next retry.
  wake() {
    if (!this.pairing || this.socket) return;
    this.dormant = false;
    clearTimeout(this.retryTimer);
    this.retryMs = FIRST_RETRY_MS;
    this.connect();
  }

  sendInput(events) {
    return this.send({ op: 'input', events: events });
  }

  connect() {
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    const socket = new WebSocket(scheme + location.host + '/api/live');
    socket.binaryType = 'arraybuffer';
    const clientNonce = randomBytes(NONCE_BYTES);
    socket.onopen = () => {
      socket.send(JSON.stringify({ id: this.pairing.id, nonce: hex(clientNonce) }));
    };
    socket.onmessage = (event) => {
      if (socket !== this.socket) return;
      this.heard();
      if (this.keys) this.take(event.data);
      else this.opening(event.data, clientNonce);
    };
    socket.onclose = (event) => {
      if (socket !== this.socket) return;
      // This browser's channel opened again elsewhere (another tab): trying again here at
      // once would take it back, and that one would do the same. This one waits to be used.
      this.dormant = event.reason === 'replaced';
      this.drop();
    };
    this.socket = socket;
    this.keys = null;
  }

  // The PC's answer to the opening: its nonce, or that it does not know this browser.
  opening(data, clientNonce) {
    let answer = {};
    try {
      answer = typeof data === 'string' ? JSON.parse(data) : {};
    } catch (error) {
      // Not the PC's opening: dropped below like any other.
    }
    if (answer.error === 'not paired') {
      this.unpaired(answer.reason || 'unknown');
      return;
    }
    const serverNonce = fromHex(answer.nonce || '');
    if (!serverNonce || serverNonce.length !== NONCE_BYTES) {
      this.drop();
      return;
    }
    this.keys = channelKeys(this.pairing.k, clientNonce, serverNonce);
    this.sent = 0;
    this.taken = 0;
    this.isOpen = true;
    this.retryMs = FIRST_RETRY_MS;
    this.dispatchEvent(new Event('open'));
  }

  // A sealed frame from the PC: one that does not open, or comes again or out of order, is
  // not the PC's, and ends the channel.
  take(data) {
    const frame = typeof data === 'string' ? null : openFrame(this.keys.down, data);
    if (!frame || frame.counter <= this.taken) {
      this.drop();
      return;
    }
    this.taken = frame.counter;
    let message;
    try {
      message = JSON.parse(frame.text);
    } catch (error) {
      return;
    }
    if (message.push === 'removed') {
      this.unpaired('removed');
    } else if (message.push) {
      this.dispatchEvent(new CustomEvent('push', { detail: message }));
    } else if (this.pending.has(message.re)) {
      this.answer(message);
    }
  }

  answer(message) {
    const waiting = this.pending.get(message.re);
    this.pending.delete(message.re);
    clearTimeout(waiting.timer);
    if (message.ok) {
      waiting.resolve(message);
      return;
    }
    const error = new Error(message.error || '');
    error.status = message.status;
    waiting.reject(error);
  }

  // Something came: the PC is there. After a long silence the page asks it.
  heard() {
    clearTimeout(this.quietTimer);
    this.quietTimer = setTimeout(() => {
      this.request('status').then((answer) => this.dispatchEvent(new CustomEvent('push',
        { detail: { push: 'state', state: answer.state } })), () => {});
    }, QUIET_LIMIT_MS);
  }

  unpaired(reason) {
    this.stop();
    this.dispatchEvent(new CustomEvent('unpaired', { detail: reason }));
  }

  // Ends this socket, fails what waits on it, and tries again while paired.
  drop() {
    const socket = this.socket;
    this.socket = null;
    this.keys = null;
    clearTimeout(this.quietTimer);
    if (socket) {
      socket.onopen = socket.onmessage = socket.onclose = null;
      socket.close();
    }
    for (const waiting of this.pending.values()) {
      clearTimeout(waiting.timer);
      waiting.reject(new Unreachable());
    }
    this.pending.clear();
    const wasOpen = this.isOpen;
    this.isOpen = false;
    if (wasOpen || this.pairing) this.dispatchEvent(new Event('close'));
    if (!this.pairing || this.dormant) return;
    clearTimeout(this.retryTimer);
    this.retryTimer = setTimeout(() => this.connect(), this.retryMs);
    this.retryMs = Math.min(this.retryMs * 2, LAST_RETRY_MS);
  }
}

export const channel = new LiveChannel();
window.quorvelChannel = channel;
