// The page's crypto (web/page/channel-crypto.js) against RFC 5869 and the PC's vector, and
// the reading of typed pairing keys.  node --test tests/page/
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

test('seals that do not open', () => {
  const k = bytes(PC.k);
  const keys = c.channelKeys(k, bytes(PC.clientNonce), bytes(PC.serverNonce));
  const cases = [
    ['another id', c.openPaired(k, PC.id.replace('1', '2'), PC.answer)],
    ['a bad tag', c.openPaired(k, PC.id, PC.answer.slice(0, -2) + '00')],
    ['not hex', c.openPaired(k, PC.id, 'zz')],
    ['the other direction', c.openFrame(keys.up, bytes(PC.frameDown))],
    ['another counter', c.openFrame(keys.down, bytes(PC.frameDown.slice(0, 14) + '02' + PC.frameDown.slice(16)))],
    ['shorter than a counter', c.openFrame(keys.down, bytes(PC.frameDown.slice(0, 10)))],
  ];
  for (const [what, opened] of cases) assert.equal(opened, null, what);
});

test('typed keys', () => {
  const cases = [
    ['7K3M-Q9ZD-1WXE-T4HR', '3cc74ba7ed0f3aed1238'],
    ['7k3mq9zd1wxet4hr', '3cc74ba7ed0f3aed1238'],
    [' 7K3M Q9ZD-lWXE-T4HR ', '3cc74ba7ed0f3aed1238'],
    ['7K3M-Q9ZD-IWXE-T4HR', '3cc74ba7ed0f3aed1238'],
    ['0410-6105-oR3G-G28A', PC.keyBytes],
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
