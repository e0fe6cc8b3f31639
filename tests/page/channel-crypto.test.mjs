// The page's crypto (web/page/channel-crypto.js) against RFC 5869, a vector made apart from
// it and the PC's, and the reading of typed pairing keys.  node --test tests/page/
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as c from '../../web/page/channel-crypto.js';

const bytes = (h) => c.fromHex(h);

test('HKDF-SHA256, RFC 5869 case 1', () => {
  const okm = c.hkdfSha256(new Uint8Array(22).fill(0x0b), bytes('000102030405060708090a0b0c'),
    bytes('f0f1f2f3f4f5f6f7f8f9'), 42);
  assert.equal(c.hex(okm), '3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf' +
    '34007208d5b887185865');
});

// Made with Python's cryptography package from docs/web-channel.md alone.
const V = {
  key: '7K3M-Q9ZD-1WXE-T4HR', keyBytes: '3cc74ba7ed0f3aed1238',
  id: '00112233445566778899aabbccddeeff', nonce: '0f0e0d0c0b0a09080706050403020100',
  k: '2a513f6fb74c43749db0636f746eaaa0cfa47227feac747ddb4b212309109a49',
  agent: 'Mozilla/5.0 test', seal: '54464d218a2b7ef090a957124184a0e3126a9651343677a298a43a0aa6441225',
  pc: 'Den PC', answer: '3cd2820afa8981037abf22e0c2843d95b5d57c803313',
  clientNonce: '10'.repeat(16), serverNonce: '20'.repeat(16),
  up: '8872a6f20055a44c1e2f08e03cb9ba9381b486efe83d14a8e7d42422a0f2973f',
  down: '32ea112401e7217260a4e23f8f838ed7e4a981708ed9045f64709ba47c9e88d1',
  hello: '{"id":1,"op":"hello"}',
  frameUp: '0000000000000001856f0203debd0ec0da139fa316560929481459a11ab8b2df527b50070c52dd2e2974b97371',
  frameDown: '0000000000000007e6aa6328f14609548fb4a6322b60de312822c46b625aa9d63ab294554f87b71f8344',
};

test('pairing and channel, against the vector', () => {
  const k = c.deriveK(c.parseKey(V.key), bytes(V.nonce), V.id);
  assert.equal(c.hex(k), V.k);
  assert.equal(c.sealPairing(k, V.id, V.nonce, V.agent), V.seal);
  assert.equal(c.openPaired(k, V.id, V.answer), V.pc);
  assert.equal(c.openPaired(k, V.id.replace('0', '1'), V.answer), null, 'another id');
  assert.equal(c.openPaired(k, V.id, V.answer.slice(0, -2) + '00'), null, 'a bad tag');
  assert.equal(c.openPaired(k, V.id, 'zz'), null, 'not hex');
  const keys = c.channelKeys(k, bytes(V.clientNonce), bytes(V.serverNonce));
  assert.deepEqual([c.hex(keys.up), c.hex(keys.down)], [V.up, V.down]);
  assert.equal(c.hex(c.sealFrame(keys.up, 1, V.hello)), V.frameUp);
  assert.deepEqual(c.openFrame(keys.down, bytes(V.frameDown)),
    { counter: 7, text: '{"push":"removed"}' });
  assert.equal(c.openFrame(keys.up, bytes(V.frameDown)), null, 'the other direction');
  const moved = bytes(V.frameDown);
  moved[7] = 8;
  assert.equal(c.openFrame(keys.down, moved), null, 'another counter');
  assert.equal(c.openFrame(keys.down, moved.subarray(0, 5)), null, 'shorter than a counter');
});

// The one in docs/web-channel.md, which the PC's unit tests check too.
const PC = {
  key: '0410-6105-0R3G-G28A', keyBytes: '0102030405060708090a',
  id: '101112131415161718191a1b1c1d1e1f', nonce: '202122232425262728292a2b2c2d2e2f',
  k: 'aee3fdb4c7fd63ad7d761776fc468b5468b39767f3e2ae640929795646aafd24',
  agent: 'test', seal: '6dbd315bc8e6fa829a31d3bdbb0fa2a53287f40f',
  pc: 'PC', answer: '4d1f0db806f400f0302ce31407f9523857ca',
  clientNonce: '303132333435363738393a3b3c3d3e3f', serverNonce: '404142434445464748494a4b4c4d4e4f',
  up: 'aa5841db9a25da744ed8a345bc037c288a69a9876fbb63d3e3a79dd18ab70ef0',
  down: 'b92bb911b14ee640c38affa690df1b3d8d2d4452e0eba3b1f6f7e203cbe5f64b',
  hello: '{"id":1,"op":"hello"}',
  frameUp: '0000000000000001bc587d76af3986dbc7b1755e5343c7e83ecdf99f7aa66cbbaddb2fb3d948e5111fb0ee0cae',
  frameDown: '0000000000000001e36862ff3c67f4dc916006cca3daf6e8df4c607e39961dc5a45b78b75f2b32216284',
  down1: '{"re":1,"ok":true}',
};

test('pairing and channel, against the PC\'s vector', () => {
  assert.equal(c.hex(c.parseKey(PC.key)), PC.keyBytes);
  const k = c.deriveK(c.parseKey(PC.key), bytes(PC.nonce), PC.id);
  assert.equal(c.hex(k), PC.k);
  assert.equal(c.sealPairing(k, PC.id, PC.nonce, PC.agent), PC.seal);
  assert.equal(c.openPaired(k, PC.id, PC.answer), PC.pc);
  const keys = c.channelKeys(k, bytes(PC.clientNonce), bytes(PC.serverNonce));
  assert.deepEqual([c.hex(keys.up), c.hex(keys.down)], [PC.up, PC.down]);
  assert.equal(c.hex(c.sealFrame(keys.up, 1, PC.hello)), PC.frameUp);
  assert.deepEqual(c.openFrame(keys.down, bytes(PC.frameDown)), { counter: 1, text: PC.down1 });
});

test('typed keys', () => {
  const cases = [
    ['7K3M-Q9ZD-1WXE-T4HR', V.keyBytes],
    ['7k3mq9zd1wxet4hr', V.keyBytes],
    [' 7K3M Q9ZD-lWXE-T4HR ', V.keyBytes],
    ['7K3M-Q9ZD-IWXE-T4HR', V.keyBytes],
    ['OOOO-OOOO-OOOO-OOOO', '00000000000000000000'],
    ['ZZZZ-ZZZZ-ZZZZ-ZZZZ', 'ffffffffffffffffffff'],
    ['0123-4567-89AB-CDEF', '00443214c74254b635cf'],
    ['7K3M-Q9ZD-1WXE-T4H', null],
    ['7K3M-Q9ZD-1WXE-T4HRR', null],
    ['7K3M-Q9ZD-1WXE-T4HU', null],
    ['', null],
  ];
  for (const [typed, expected] of cases) {
    const key = c.parseKey(typed);
    assert.equal(key && c.hex(key), expected, typed);
  }
});
