// The page's decrypt run against the shared table of runs
// (tests/vectors/runs.json), which the program's run tests read too, and
// what only the page has: no password typed, Stop while it reads or
// derives, the outcomes' texts.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { runDecrypt, RUN_END } from '../../web/decrypt_run.mjs';
import { sealText } from '../../web/seal_text.mjs';
import { OUTCOME, SILENT_OUTCOMES } from '../../web/outcome.mjs';
import { PAGE_TEXTS } from '../../web/page_texts.mjs';
import { fromHex, quickCrypto, rememberingCrypto, toHex, vectors } from './support.mjs';

// A block the table's run finished with, as the page reports it: a
// compatible block the program opened (or found under another password, or
// refused where it reads strong blocks only) is `compatible` in the page,
// which does not open that format. So the page reads strong blocks only
// always, and runs the table's strong-only cases as they are. An opened
// recipient block names its sender's key and the time written.
function pageBlock(block, index, kept) {
  const compatibleInPage = block.kind === 'compatible'
    && ['opened', 'wrong_password', 'compatible_refused'].includes(block.outcome);
  const page = { index, outcome: compatibleInPage ? OUTCOME.compatible : block.outcome };
  if (block.kind) page.kind = block.kind;
  if (page.outcome === OUTCOME.opened && kept) page.text = block.text;
  if (page.outcome === OUTCOME.opened && kept && block.sender) page.sender = { publicKey: block.sender, writtenAt: block.written_at };
  return page;
}

const withSenderInHex = ({ damage, sender, ...block }) =>
  (sender ? { ...block, sender: { publicKey: toHex(sender.publicKey), writtenAt: sender.writtenAt } } : block);

test('every run of the shared table, as the program makes it', async () => {
  const { cases } = vectors('runs.json');
  assert.ok(cases.length > 0);
  assert.ok(cases.some((run) => run.secret_key !== undefined));
  for (const run of cases) {
    const provider = quickCrypto();
    const asked = [];
    let keyAsked = 0;
    let stopped = false;
    const result = await runDecrypt(run.received, run.password, {
      provider,
      secretKey: async () => {
        keyAsked++;
        return run.secret_key === undefined ? null : fromHex(run.secret_key);
      },
      askRounds: async ({ roundsToCome }) => {
        asked.push(roundsToCome);
        assert.ok(asked.length <= run.answers.length, `${run.name}: asked more often than the case answers`);
        return run.answers[asked.length - 1] === 'continue';
      },
      stopped: () => stopped,
      blockStarting: (index) => {
        if (run.cancel_after !== undefined && index > run.cancel_after) stopped = true;
      },
    });
    const { expect } = run;
    assert.equal(result.end, expect.end, run.name);
    assert.deepEqual(result.blocks.map(withSenderInHex),
      expect.blocks.map((b, i) => pageBlock(b, i, expect.texts_kept)), run.name);
    assert.deepEqual(asked, expect.rounds_asked, run.name);
    assert.equal(provider.derivations, expect.derivations, run.name);
    // The key is asked for once, and only for a text holding a recipient
    // block, as the program asks for it.
    const holdsRecipient = expect.blocks.some((b) => b.kind === 'recipient');
    assert.equal(keyAsked, holdsRecipient ? 1 : 0, run.name);
  }
});

// Every form of the shared table of received forms, as the page opens it
// under the table's password: each strong block to exactly its text, each
// compatible one as the earlier format; a damaged form's first block
// refused, with no text and with the line the damage is on.
test('every received form opens as its blocks, or is refused when damaged', async () => {
  const table = vectors('received-forms.json');
  const source = new Map(table.blocks.map((b) => [b.name, b]));
  const provider = rememberingCrypto();
  for (const form of table.forms) {
    const sources = form.sources.map((name) => source.get(name));
    const opened = await runDecrypt(form.received, sources[0].password, { provider });
    if (form.expect === 'source') {
      assert.equal(opened.end, RUN_END.done, form.name);
      const expected = sources.map((b) => (b.format === 'strong' ? { outcome: 'opened', text: b.text } : { outcome: 'compatible' }));
      assert.deepEqual(opened.blocks.map(({ outcome, text }) => (text === undefined ? { outcome } : { outcome, text })),
        expected, form.name);
    } else {
      assert.equal(opened.end, RUN_END.at_block, form.name);
      assert.equal(opened.blocks[0].outcome, OUTCOME.damaged, form.name);
      assert.equal(opened.blocks[0].damage.line, form.damage.line, form.name);
      assert.equal(opened.blocks[0].text, undefined, form.name);
    }
  }
});

test('what only the page meets: no password typed, compatible blocks only, no block', async () => {
  const provider = quickCrypto();
  const block = (await sealText('one', 'pw', 'pw', 60, provider)).block;
  const compatible = '(quiren_start)\r\nAGg2Qs>A#3Al~OuWcK\r\n(quiren_end)';
  const cases = [
    ['a strong block and no password', block, '', RUN_END.no_password, []],
    ['a compatible block needs no password', compatible, '', RUN_END.done, [OUTCOME.compatible]],
    ['no block', 'hello', 'pw', RUN_END.no_block, []],
  ];
  for (const [what, text, password, end, outcomes] of cases) {
    provider.derivations = 0;
    const result = await runDecrypt(text, password, { provider });
    assert.equal(result.end, end, what);
    assert.deepEqual(result.blocks.map((b) => b.outcome), outcomes, what);
    assert.equal(provider.derivations, 0, what);
  }
});

// Stop while the page reads a large paste: the reading ends at its next
// turn, and nothing is derived.
test('Stop while a large paste is read ends the run at once', async () => {
  const provider = quickCrypto();
  const block = (await sealText('one', 'pw', 'pw', 60, provider)).block;
  const quoted = `> ${block.replaceAll('\r\n', '\n> ')}\n`;
  const paste = quoted.repeat(Math.ceil((4 << 20) / quoted.length));
  provider.derivations = 0;
  let stopped = false;
  setTimeout(() => { stopped = true; }, 50);
  const began = performance.now();
  const result = await runDecrypt(paste, 'pw', { provider, stopped: () => stopped });
  assert.ok(performance.now() - began < 2000, 'the reading went on long after Stop');
  assert.equal(result.end, RUN_END.at_block);
  assert.equal(result.blocks.at(-1).outcome, OUTCOME.cancelled);
  assert.equal(provider.derivations, 0);
});

// Stop while a key is derived: the derivation ends unseen, its text is
// dropped, and no other begins.
test('Stop while a key is derived drops what it gives', async () => {
  const provider = quickCrypto();
  const block = (await sealText('one', 'pw', 'pw', 60, provider)).block;
  let stopped = false;
  const stopping = { ...provider, async deriveKey(...args) { stopped = true; return provider.deriveKey(...args); } };
  provider.derivations = 0;
  const result = await runDecrypt(`${block}\r\n${block}`, 'pw', { provider: stopping, stopped: () => stopped });
  assert.equal(result.end, RUN_END.at_block);
  assert.deepEqual(result.blocks, [{ index: 0, kind: 'strong', outcome: OUTCOME.cancelled }]);
  assert.equal(provider.derivations, 1);
});

// The page reads recipient blocks as far as the program does without a key
// (tests/vectors/recipient-blocks.json): a block it would open, or one
// whose outcome needs the key, needs one; a block that is damaged, of a
// later format or refused before any key is tried says so, as the program.
test('recipient blocks: the outcomes without a key, or needs_key', async () => {
  const table = vectors('recipient-blocks.json');
  const keyed = [OUTCOME.opened, OUTCOME.not_for_this_key, OUTCOME.refused_settings];
  for (const block of table.blocks) {
    const result = await runDecrypt(block.block, '', { provider: quickCrypto() });
    assert.equal(result.end, RUN_END.done, block.name);
    assert.deepEqual(result.blocks, [{ index: 0, kind: 'recipient', outcome: OUTCOME.needs_key }], block.name);
  }
  for (const c of table.cases) {
    const result = await runDecrypt(c.block, '', { provider: quickCrypto() });
    const outcome = result.blocks[0].outcome;
    const expected = new Set(c.reads.map((r) => r.outcome));
    if (outcome === OUTCOME.needs_key) {
      assert.ok([...expected].every((o) => keyed.includes(o)), `${c.name}: needs a key, not ${[...expected]}`);
    } else {
      assert.deepEqual([...expected], [outcome], c.name);
      assert.equal(result.end, RUN_END.at_block, c.name);
    }
  }
});

// The page's own compile check: an outcome added to outcome.mjs fails here
// until the page can say it in both languages (or it is one it never says).
test('every outcome the page may show has a text in both languages', () => {
  for (const texts of Object.values(PAGE_TEXTS)) {
    for (const outcome of Object.values(OUTCOME)) {
      if (SILENT_OUTCOMES.includes(outcome)) continue;
      assert.equal(typeof texts.outcomes[outcome], 'string', `${texts.lang}: ${outcome}`);
    }
    assert.deepEqual(Object.keys(texts.outcomes).filter((k) => !Object.values(OUTCOME).includes(k)), [], texts.lang);
  }
});
