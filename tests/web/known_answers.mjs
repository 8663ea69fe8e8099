// The strong known answers the program's own tests hold: password "pass",
// 100,000 iterations, salt 00 01 .. 0f, nonce 10 11 .. 1b.
export const knownParameters = () => ({
  iterations: 100000,
  salt: Uint8Array.from({ length: 16 }, (_, i) => i),
  nonce: Uint8Array.from({ length: 12 }, (_, i) => 0x10 + i),
});

export const KNOWN_ANSWERS = [
  {
    name: 'テスト, fill 3',
    text: 'テスト',
    password: 'pass',
    envelope: '01010103000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b' +
      '7fe0a424e967167a2bb6c8d416c6b3e15c9b0dafcfd6ed0238000000',
  },
  {
    name: 'the empty text',
    text: '',
    password: 'pass',
    envelope: '01010100000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b' +
      '862d2f9062630aad1052e010696a4294',
  },
  {
    name: 'the empty password',
    text: 'テスト',
    password: '',
    envelope: '01010103000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b' +
      'f060b3dff83958b531cc3ac168b534605f5a8dcd49d1105497000000',
  },
];
