// The page's part of the private channel's crypto (docs/web-channel.md): the pairing key
// read from what the user typed, K, the pairing seals and the live channel's frames.
// HKDF-SHA256 and AES-256-GCM are the vendored @noble packages': crypto.subtle is absent
// on a plain http:// page at a LAN address.
import { hkdf } from './vendor/noble-hashes/hkdf.js';
import { sha256 } from './vendor/noble-hashes/sha2.js';
import { bytesToHex, concatBytes, hexToBytes, utf8ToBytes } from './vendor/noble-hashes/utils.js';
import { gcm } from './vendor/noble-ciphers/aes.js';

const CROCKFORD = '0123456789ABCDEFGHJKMNPQRSTVWXYZ';
const KEY_CHARACTERS = 16;
const COUNTER_BYTES = 8;

export const hex = bytesToHex;

// Hex that does not decode (odd length, other characters) is null, as a seal that does not open.
export function fromHex(text) {
  try {
    return hexToBytes(String(text));
  } catch (error) {
    return null;
  }
}

export function randomBytes(count) {
  return crypto.getRandomValues(new Uint8Array(count));
}

// The key's 10 bytes from what the user typed or the QR's address held: any case, dashes
// and spaces left out, O read as 0 and I, L as 1. Anything else is null.
export function parseKey(text) {
  const digits = String(text).toUpperCase().replace(/[-\s]/g, '')
    .replace(/O/g, '0').replace(/[IL]/g, '1');
  if (digits.length !== KEY_CHARACTERS) return null;
  const bytes = new Uint8Array(KEY_CHARACTERS * 5 / 8);
  let bits = 0;
  let held = 0;
  let at = 0;
  for (const digit of digits) {
    const value = CROCKFORD.indexOf(digit);
    if (value < 0) return null;
    held = ((held << 5) | value) & 0xfff; // what is left over (7 bits at most) and 5 more
    bits += 5;
    if (bits >= 8) {
      bits -= 8;
      bytes[at++] = (held >> bits) & 0xff;
    }
  }
  return bytes;
}

// The 12-byte nonce of a message: 4 zero bytes, then its counter big-endian.
function counterIv(counter) {
  const iv = new Uint8Array(12);
  new DataView(iv.buffer).setBigUint64(4, BigInt(counter));
  return iv;
}

function open(key, iv, aad, sealed) {
  try {
    return gcm(key, iv, utf8ToBytes(aad)).decrypt(sealed);
  } catch (error) {
    return null;
  }
}

// info: text (as UTF-8) or bytes.
export function hkdfSha256(ikm, salt, info, length) {
  return hkdf(sha256, ikm, salt, typeof info === 'string' ? utf8ToBytes(info) : info, length);
}

// The browser's lasting key, from the pairing key and this pairing's nonce and id (hex).
export function deriveK(keyBytes, nonce, idHex) {
  return hkdfSha256(keyBytes, nonce, 'quorvel pair ' + idHex, 32);
}

// The proof of the key that POST /api/pair carries: the user agent sealed under K (hex).
export function sealPairing(k, idHex, nonceHex, userAgent) {
  const aad = utf8ToBytes('pair ' + idHex + ' ' + nonceHex);
  return hex(gcm(k, counterIv(1), aad).encrypt(utf8ToBytes(userAgent)));
}

// The PC's name from its answer to the pairing, or null when the seal does not open: the
// answer did not come from the PC that shows the key.
export function openPaired(k, idHex, sealHex) {
  const sealed = fromHex(sealHex);
  const name = sealed && open(k, counterIv(2), 'paired ' + idHex, sealed);
  return name ? new TextDecoder().decode(name) : null;
}

// One key for each direction of a channel, from K and both sides' fresh nonces.
export function channelKeys(k, clientNonce, serverNonce) {
  const salt = concatBytes(clientNonce, serverNonce);
  return {
    up: hkdfSha256(k, salt, 'quorvel live up', 32),
    down: hkdfSha256(k, salt, 'quorvel live down', 32),
  };
}

// One binary frame: the counter (8 bytes, big-endian), then the JSON text sealed.
export function sealFrame(key, counter, text) {
  const head = new Uint8Array(COUNTER_BYTES);
  new DataView(head.buffer).setBigUint64(0, BigInt(counter));
  return concatBytes(head, gcm(key, counterIv(counter), new Uint8Array(0))
    .encrypt(utf8ToBytes(text)));
}

// { counter, text } of a frame, or null when it does not open.
export function openFrame(key, frame) {
  const bytes = new Uint8Array(frame);
  if (bytes.length < COUNTER_BYTES) return null;
  const counter = Number(new DataView(bytes.buffer, bytes.byteOffset).getBigUint64(0));
  const plain = open(key, counterIv(counter), '', bytes.subarray(COUNTER_BYTES));
  return plain ? { counter: counter, text: new TextDecoder().decode(plain) } : null;
}
