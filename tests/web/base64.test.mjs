import { test } from 'node:test';
import assert from 'node:assert/strict';
import { base64Encode, base64Decode } from '../../web/base64.mjs';

test('encodes as standard base64 without padding, and decodes back', () => {
  for (let n = 0; n <= 70; n++) {
    const bytes = Uint8Array.from({ length: n }, (_, i) => (i * 151 + n * 7) & 255);
    const expected = Buffer.from(bytes).toString('base64').replace(/=+$/, '');
    assert.equal(base64Encode(bytes), expected, `${n} bytes`);
    assert.deepEqual(base64Decode(expected), bytes, `${n} bytes back`);
  }
  assert.equal(base64Encode(Uint8Array.of(0xfb, 0xff, 0xbf)), '+/+/');
});

test('refuses what no encoder writes', () => {
  const refused = {
    'padding': 'AQI=',
    'a length of 4n+1': 'AQIDB',
    'the URL-safe alphabet': 'A-_B',
    'a space': 'AQ ID',
    'a line break': 'AQ\r\nID',
    'a full-width letter': 'AQＩD',
    'stray bits after one byte': 'AR',
    'stray bits after two bytes': 'AQJ',
  };
  for (const [what, text] of Object.entries(refused)) assert.equal(base64Decode(text), null, what);
  assert.deepEqual(base64Decode('AQ'), Uint8Array.of(1));
  assert.deepEqual(base64Decode(''), new Uint8Array(0));
});
