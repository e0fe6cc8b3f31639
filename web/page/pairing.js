// Pairing this browser with the key the PC shows (docs/web-channel.md): typed into the
// form, or from the QR code's address (#k=...), which never leaves the browser. The key
// is proved without being sent; the browser's lasting key K is kept in localStorage.
import { deriveK, fromHex, hex, openPaired, parseKey, randomBytes, sealPairing } from './channel-crypto.js';
import { $ } from './ui.js';

const STORE = 'quorvel-pairing';
const REASON_TEXT = {
  removed: 'This browser was removed on the PC.',
  unknown: 'The PC does not know this browser any more.',
  old: 'Pair again: this PC now keeps the connection private.',
};
const MESSAGE = {
  notKey: 'That is not a pairing key: it has 16 letters and digits, as the PC shows it.',
  wrong: 'That is not the key the PC shows. Check it and try again.',
  expired: 'The key has expired: press New key on the PC.',
  lockedOut: 'Too many wrong keys from this device.',
  otherPc: 'The answer did not come from the PC that shows this key.',
  unreachable: "Can't reach the PC. Is this phone on the PC's network?",
};
let lockTimer = 0;

// { id: hex, k: bytes } of this browser's pairing, or null.
export function storedPairing() {
  try {
    const stored = JSON.parse(localStorage.getItem(STORE));
    const k = fromHex(stored.k);
    if (typeof stored.id === 'string' && k && k.length === 32) return { id: stored.id, k: k };
  } catch (error) {
    // Nothing stored, or not ours: the browser is not paired.
  }
  return null;
}

export function forgetPairing() {
  localStorage.removeItem(STORE);
}

// The key in the page's address, taken out of it at once so that it stays in no history.
export function takeKeyFromAddress() {
  const match = /^#k=(.*)$/.exec(location.hash);
  if (!match) return null;
  history.replaceState(null, '', location.pathname + location.search);
  try {
    return decodeURIComponent(match[1]);
  } catch (error) {
    return match[1];
  }
}

// The form, with why this browser must pair (a reason of the PC's, or none).
export function showPairing(reason) {
  $('pair-reason').textContent = REASON_TEXT[reason] || '';
  $('remote').hidden = true;
  $('app').textContent = '';
  $('pairing').hidden = false;
  $('key').focus();
}

// Why a browser without K must pair: the PC tells when it was paired the old way.
export async function askWhyUnpaired() {
  try {
    const answer = await (await fetch('/api/pair', { cache: 'no-store' })).json();
    return answer.reason || '';
  } catch (error) {
    return '';
  }
}

// The lockout's seconds, counted down on the page.
function countDown(why, seconds) {
  clearInterval(lockTimer);
  const until = Date.now() + seconds * 1000;
  const tick = () => {
    const left = Math.ceil((until - Date.now()) / 1000);
    $('pair-button').disabled = left > 0;
    $('pair-message').textContent = left > 0 ? why + ' Try again in ' + left + ' s.'
      : 'You can try again now.';
    if (left <= 0) clearInterval(lockTimer);
  };
  tick();
  lockTimer = setInterval(tick, 1000);
}

async function post(form) {
  const response = await fetch('/api/pair', {
    method: 'POST', cache: 'no-store',
    // The page's own header: the server refuses a POST without it (cross-site requests).
    headers: { 'Content-Type': 'application/x-www-form-urlencoded', 'X-Quorvel-Page': '1' },
    body: new URLSearchParams(form).toString(),
  });
  let data = {};
  try {
    data = JSON.parse(await response.text());
  } catch (error) {
    // A plain-text answer (busy, malformed): its status tells.
  }
  return { status: response.status, data: data };
}

// Pairs with the key as typed; true once K is kept, else the form says why not.
export async function pairWith(typed) {
  const message = $('pair-message');
  message.textContent = '';
  const keyBytes = parseKey(typed);
  if (!keyBytes) {
    message.textContent = MESSAGE.notKey;
    return false;
  }
  const id = hex(randomBytes(16));
  const nonce = hex(randomBytes(16));
  const k = deriveK(keyBytes, fromHex(nonce), id);
  let answer;
  // One try at a time: a second would find the key already replaced.
  $('pair-button').disabled = true;
  try {
    answer = await post({ id: id, nonce: nonce, seal: sealPairing(k, id, nonce, navigator.userAgent) });
  } catch (error) {
    message.textContent = MESSAGE.unreachable;
    return false;
  } finally {
    $('pair-button').disabled = false;
  }
  const data = answer.data;
  if (answer.status === 200 && openPaired(k, id, data.seal) !== null) {
    localStorage.setItem(STORE, JSON.stringify({ id: id, k: hex(k) }));
    $('pair-reason').textContent = '';
    return true;
  }
  if (answer.status === 429) countDown(MESSAGE.lockedOut, data.seconds || 60);
  else message.textContent = answer.status === 200 ? MESSAGE.otherPc
    : data.error === 'expired' ? MESSAGE.expired
    : answer.status === 403 ? MESSAGE.wrong
    : 'The PC could not pair this browser (error ' + answer.status + ').';
  return false;
}
