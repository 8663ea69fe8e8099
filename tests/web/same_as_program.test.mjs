// The page's repair and reader against the program's own, on every form of
// the shared table and many received texts made at random from real
// blocks: the program's (a native probe,
// tests/block/received_text_probe.cpp, named by QUIREN_RECEIVED_TEXT_PROBE)
// must give the same repaired text, read the same blocks and point at the
// same damage.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { repairReceivedText } from '../../web/received_text.mjs';
import { findBlockDamage } from '../../web/block_damage.mjs';
import { frameBlock, readBlocks } from '../../web/armoured_block.mjs';
import { base64Encode } from '../../web/base64.mjs';
import { toHex, vectors } from './support.mjs';

const probe = process.env.QUIREN_RECEIVED_TEXT_PROBE;

// A small seeded generator, so a failure can be made again.
function random(seed) {
  let s = seed >>> 0;
  return (n) => {
    s = (s + 0x6d2b79f5) >>> 0;
    let t = s;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return (((t ^ (t >>> 14)) >>> 0) % n);
  };
}

const ALPHABET = 'Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k\'a4PtVh!Bq1m&ULd)F8"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_Nw';
const TEXT_MODES = ['A', 'B', 'A', 'B', 'Ｂ', '\u2019', '\u200B', '\u00A0'];
const fullWidth = (s) => s.replace(/[!-~]/g, (c) => String.fromCharCode(c.charCodeAt(0) + 0xfee0));

function blocks(pick) {
  const armour = (n) => Array.from({ length: n }, () => ALPHABET[pick(ALPHABET.length)]).join('');
  const envelope = (bytes) => {
    const fill = (4 - (bytes % 4)) % 4;
    const e = Uint8Array.from({ length: 52 + bytes + fill }, (_, i) => (i < 52 + bytes ? pick(256) : 0));
    e.set([1, 1, 1, fill, 0, 1, 0x86, 0xa0]);
    return e;
  };
  const width = 10 + pick(91);
  return [
    // The reader takes any text mode letter; the repair must leave it alone
    // or mend it as the program does.
    frameBlock('AB'[pick(2)], `${armour(5 * pick(6))}>${TEXT_MODES[pick(TEXT_MODES.length)]}${armour(5 * pick(30))}`, width),
    frameBlock('C', base64Encode(envelope(pick(80))), width),
  ];
}

// What mail, chat and office programs, and people, do to a text.
const PIECES = [' ', '  ', '\t', '\u00A0', '\u3000', '\r', '\n', '\r\n', '\n\n', '> ', '>', '>> ', '| ', 'x', '以上',
  '(quiren_start)', '(quiren_end)', ' (quiren_start) ', '(quiren_', '_end)', '\u200B', '\u2060', '\uFEFF', '\u00AD',
  '\u2019', '\u201D', '\'', '"', '😀'];

function received(pick) {
  let text = '';
  for (let n = 1 + pick(3); n > 0; n--) {
    const [compatible, strong] = blocks(pick);
    let block = pick(2) ? compatible : strong;
    const form = pick(6);
    if (form === 1) block = block.split('\r\n').map((l) => '> ' + l).join(pick(2) ? '\n' : '\r\n');
    if (form === 2) block = block.replaceAll('\r\n', ' ');
    if (form === 3) block = fullWidth(block);
    if (form === 4) block = block.replace(/(.{20})/gu, '$1\u200B');
    text += (pick(2) ? 'Hi,\r\n' : '') + block + (pick(2) ? '\r\n> \r\nThanks' : '\r\n');
  }
  // Then a few changes anywhere.
  for (let n = pick(4); n > 0; n--) {
    const at = pick(text.length + 1);
    if (pick(3)) text = text.slice(0, at) + PIECES[pick(PIECES.length)] + text.slice(at);
    else text = text.slice(0, at) + text.slice(at + 1 + pick(3));
  }
  // No half surrogate pairs: the probe reads UTF-8.
  return text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '?');
}

function where(received, index) {
  const d = findBlockDamage(received, index);
  return d ? `@${d.kind}:${d.line}:${d.column ?? 0}:${(d.character ?? 0).toString(16)}` : '';
}

// One word per block, as the probe writes it; a damaged block with
// where it is damaged.
const reading = (received, items) => items.map((i, index) => (i.problem === 'damaged' ? `damaged${where(received, index)}`
  : i.problem ? i.problem
    : i.kind === 'strong' ? `strong:${toHex(i.envelope)}` : 'compatible')).join(',');

test('the same repair and the same reading as the program', { skip: !probe && 'QUIREN_RECEIVED_TEXT_PROBE is not set' }, () => {
  const pick = random(20261210);
  const texts = [...vectors('received-forms.json').forms.map((f) => f.received),
    ...Array.from({ length: 3000 }, () => received(pick))];
  const out = execFileSync(probe, { input: Buffer.from(texts.map((t) => t + '\0').join(''), 'utf8'),
    maxBuffer: 1 << 28 }).toString('utf8').split('\0');
  let differ = 0;
  texts.forEach((text, i) => {
    const repaired = repairReceivedText(text);
    const mine = [repaired, reading(text, readBlocks(repaired))];
    const programs = [out[2 * i], out[2 * i + 1]];
    if (mine[0] !== programs[0] || mine[1] !== programs[1]) {
      differ++;
      if (differ <= 3) assert.deepEqual(mine, programs, `text ${i}: ${JSON.stringify(text)}`);
    }
  });
  assert.equal(differ, 0);
});
