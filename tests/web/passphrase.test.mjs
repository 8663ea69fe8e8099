import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { makePassphrase } from '../../web/passphrase.mjs';
import { DRAW_RANGE, MOST_REJECTIONS_IN_A_ROW, firstRejectedDraw } from '../../web/random_index.mjs';
import './support.mjs';

// The lists as the assembled page gets them, from Debian's files.
async function wordLists() {
  const dir = mkdtempSync(join(tmpdir(), 'quiren-words-'));
  try {
    const module = join(dir, 'word_lists.mjs');
    execFileSync('python3', [fileURLToPath(new URL('../../block/word_lists.py', import.meta.url)), 'js', module]);
    return (await import(pathToFileURL(module).href)).WORD_LISTS;
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}
const { latin, kana } = await wordLists();

// A random source that gives the scripted numbers, then fails.
function scripted(numbers) {
  const left = [...numbers];
  const source = (array) => {
    source.calls++;
    if (left.length === 0) throw new Error('script ran out');
    array[0] = left.shift();
    return array;
  };
  source.calls = 0;
  source.left = left;
  return source;
}

test('the lists, their counts and separators are the program\'s', () => {
  assert.equal(latin.words.length, 7776);
  assert.deepEqual([latin.words[0], latin.words[7775], latin.count, latin.separator], ['abacus', 'zoom', 6, '-']);
  assert.equal(kana.words.length, 2048);
  assert.deepEqual([kana.words[0], kana.words[3], kana.words[2047], kana.count, kana.separator],
    ['あいこくしん', 'あおぞら', 'われる', 7, '\u3000']);
});

test('the first and the last word are reached; each word joins with the separator', () => {
  assert.equal(makePassphrase(latin, scripted([0, 1, 2, 6639, 7774, 7775])), 'abacus-abdomen-abdominal-t-shirt-zoology-zoom');
  assert.equal(makePassphrase(kana, scripted([0, 0, 0, 0, 0, 0, 65535])),
    'あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　われる');
});

test('numbers that would favour some words are rejected and drawn again', () => {
  assert.equal(firstRejectedDraw(7776), 62208);
  assert.equal(firstRejectedDraw(2048), DRAW_RANGE);
  const random = scripted([62208, 65535, 62207, 63000, 7776, 62209, 3, 4, 5, 6]);
  assert.equal(makePassphrase(latin, random), [7775, 0, 3, 4, 5, 6].map((i) => latin.words[i]).join('-'));
  assert.equal(random.calls, 10);
  assert.equal(random.left.length, 0);

  // Every number once: every word equally often, exactly the numbers past
  // the last whole multiple of the size rejected.
  for (const list of [latin, kana]) {
    const oneWord = { ...list, count: 1 };
    const times = new Map();
    let rejected = 0;
    for (let n = 0; n < DRAW_RANGE; n++) {
      const word = makePassphrase(oneWord, scripted([n]));
      if (word === null) {
        rejected++;
        assert.ok(n >= firstRejectedDraw(list.words.length), `${n} rejected`);
      } else {
        times.set(word, (times.get(word) ?? 0) + 1);
      }
    }
    assert.equal(times.size, list.words.length);
    assert.deepEqual(new Set(times.values()), new Set([Math.floor(DRAW_RANGE / list.words.length)]));
    assert.equal(rejected, DRAW_RANGE % list.words.length);
  }
});

test('a failing random source gives no passphrase at all', () => {
  assert.equal(makePassphrase(latin, scripted([])), null);
  assert.equal(makePassphrase(kana, scripted([1, 2, 3])), null);
  const stuck = Array(MOST_REJECTIONS_IN_A_ROW).fill(65535);
  assert.equal(makePassphrase(latin, scripted([...stuck, 0, 0, 0, 0, 0, 0])), null);
  assert.notEqual(makePassphrase(latin, scripted([...stuck.slice(1), 0, 0, 0, 0, 0, 0])), null);
});

test('the browser\'s source gives a new one each time', () => {
  const first = makePassphrase(latin);
  assert.notEqual(first, makePassphrase(latin));
  assert.ok(first.length >= 23 && first.length <= 59, first);
  assert.equal(makePassphrase(kana).split('\u3000').length, 7);
});
