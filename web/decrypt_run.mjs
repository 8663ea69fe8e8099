// One decrypt run over a received text: the program's run
// (block/decrypt_run.h) rule for rule, held to it by the shared table of
// runs (tests/vectors/runs.json):
//   - the text is repaired and read once, in turns (steps.mjs), so the page
//     answers while it reads a large paste, and gets its turn between blocks;
//   - before the first key derivation the readable strong blocks' rounds
//     are added up, and above the budget the front end asks; every
//     derivation made counts, and the run asks again before one would pass
//     what the user accepted, with the rounds still to come;
//   - the secret key is asked for once, after that question, only when the
//     text holds a readable recipient block; a recipient block opens with it
//     alone (no password, no key derivation, no rounds) and names its
//     sender and the time written; without a key it is `needs_key` and the
//     run goes on;
//   - a strong block's key comes from the password's NFC form; the form as
//     typed is tried only on the first strong block, only when it differs
//     and the NFC form failed; every later block takes the form that opened
//     the first (NFC when neither did);
//   - the texts add up to at most LONGEST_TEXT: a strong or recipient block
//     says its length before it is opened, so one that would pass it costs
//     nothing;
//   - once the front end says the user stopped, nothing more starts; a
//     derivation already running in WebCrypto finishes unseen.
// A compatible block, which only the program opens, is `compatible` and
// takes its place as a wrong password does; it costs no derivation. A key
// block holds no text: it is read (its checksum and name) and, when it
// reads, is `opened` with no text.

import { LONGEST_TEXT, ROUND_BUDGET } from './block_rules.mjs';
import { TAG_SIZE } from './envelope_layout.mjs';
import { checkEnvelope } from './envelope_check.mjs';
import { readKeyEnvelope } from './key_block.mjs';
import { SHORTEST_SEALED_TEXT } from './keys_layout.mjs';
import { checkRecipientEnvelope } from './recipient_check.mjs';
import { openRecipientEnvelope } from './recipient_open.mjs';
import { openEnvelope } from './strong_envelope.mjs';
import { repairSteps } from './received_text.mjs';
import { readBlockSteps } from './armoured_block.mjs';
import { damageSteps } from './block_damage.mjs';
import { OUTCOME, keepsEarlierTexts } from './outcome.mjs';
import { inTurns, nextTurn } from './steps.mjs';
import { webCrypto } from './web_crypto.mjs';

// How a run ended, by the program's names. A block that ends it says why
// in its own outcome (the last block's).
export const RUN_END = Object.freeze({
  done: 'done',                      // every block took its place
  at_block: 'at_block',              // the last block's outcome ended it
  no_block: 'no_block',
  rounds_refused: 'rounds_refused',  // the user would not spend the rounds
  no_password: 'no_password',        // a strong block waits for a password that is empty
});

const encoder = new TextEncoder();
const readableStrong = (item) => !item.problem && item.kind === 'strong';
const readableRecipient = (item) => !item.problem && item.kind === 'recipient';

// The rounds of key derivation a run has spent and may spend: one
// derivation planned for each readable strong block.
function roundAccount(items, askRounds) {
  const plannedFrom = new Array(items.length + 1).fill(0);
  const strongFrom = new Array(items.length + 1).fill(0);
  for (let i = items.length - 1; i >= 0; i--) {
    const strong = readableStrong(items[i]);
    plannedFrom[i] = plannedFrom[i + 1] + (strong ? checkEnvelope(items[i].envelope).iterations : 0);
    strongFrom[i] = strongFrom[i + 1] + (strong ? 1 : 0);
  }
  let spent = 0;
  let allowed = ROUND_BUDGET;
  return {
    // Whether a derivation of block `index` may begin (before the first,
    // whether the run may begin at all).
    async mayDerive(index) {
      const roundsToCome = plannedFrom[index];
      const needed = spent + roundsToCome;
      if (needed <= allowed) return true;
      if (!(await askRounds({ rounds: needed, roundsToCome, strongBlocks: strongFrom[index] }))) return false;
      allowed = needed;
      return true;
    },
    spend(rounds) {
      spent += rounds;
    },
  };
}

// { end, blocks }: how the run ended (RUN_END) and each block it finished
// with, in order: { index, kind, outcome } with `text` when opened and kept
// (and for a recipient block `sender`: { publicKey, writtenAt }), and
// `damage` (block_damage.mjs) for a damaged block when that can be told.
// `frontEnd`:
//   provider      the cryptography (webCrypto unless a test passes another)
//   askRounds     async ({ rounds, roundsToCome, strongBlocks }) => whether
//                 to spend them
//   secretKey     async () => the 32 bytes of the secret key recipient
//                 blocks open with, or null when the front end has none;
//                 the run does not keep it past its end
//   stopped       () => whether the user stopped the run
//   blockStarting (index, count) => told as each block's turn comes, before
//                 the run looks whether the user stopped it
export async function runDecrypt(received, password, frontEnd = {}) {
  const {
    provider = webCrypto, askRounds = async () => false, secretKey = async () => null, stopped = () => false,
    blockStarting = () => {},
  } = frontEnd;
  const blocks = [];
  const ended = (end) => {
    const keeps = end === RUN_END.at_block ? keepsEarlierTexts(blocks.at(-1).outcome) : end === RUN_END.done;
    return { end, blocks: keeps ? blocks : blocks.map(({ text, sender, ...block }) => block) };
  };
  const stop = async (index, item, outcome) => {
    const block = { index, outcome };
    if (item && item.kind) block.kind = item.kind;
    if (outcome === OUTCOME.damaged && !stopped()) {
      const damage = await inTurns(damageSteps(received, index), stopped);
      if (damage) block.damage = damage;
    }
    blocks.push(block);
    return ended(RUN_END.at_block);
  };

  const text = await inTurns(repairSteps(received), stopped);
  if (text === null) return stop(0, null, OUTCOME.cancelled);
  const items = await inTurns(readBlockSteps(text), stopped);
  if (items === null) return stop(0, null, OUTCOME.cancelled);
  if (items.length === 0) return ended(RUN_END.no_block);
  // A first block that cannot be read asks for nothing.
  if (items[0].problem) return stop(0, items[0], items[0].problem);
  if (password.length === 0 && items.some(readableStrong)) return ended(RUN_END.no_password);
  // Counted before anything is derived, so a text of crafted blocks cannot
  // hold the user up unasked.
  const rounds = roundAccount(items, askRounds);
  if (!(await rounds.mayDerive(0))) return ended(RUN_END.rounds_refused);
  if (stopped()) return stop(0, items[0], OUTCOME.cancelled);
  const key = items.some(readableRecipient) ? await secretKey() : null;
  if (stopped()) return stop(0, items[0], OUTCOME.cancelled);

  const nfc = password.normalize('NFC');
  const typedDiffers = nfc !== password;
  let formSettled = false;  // the first strong block has been tried
  let typedOpens = false;   // it opened under the password as typed
  let givenBack = 0;        // bytes of text so far

  // One key derivation for `item` under `form`; null when the user stopped
  // meanwhile (its result, if any, is dropped).
  const derive = async (item, iterations, form) => {
    const bytes = encoder.encode(form);
    rounds.spend(iterations);
    try {
      const opened = await openEnvelope(provider, item.envelope, bytes);
      return stopped() ? null : opened;
    } finally {
      bytes.fill(0);
    }
  };

  for (const [index, item] of items.entries()) {
    if (index > 0) await nextTurn();
    blockStarting(index, items.length);
    if (stopped()) return stop(index, item, OUTCOME.cancelled);
    if (item.problem) return stop(index, item, item.problem);
    if (item.kind === 'key') {
      const read = await readKeyEnvelope(item.envelope);
      if (read.outcome !== OUTCOME.opened) return stop(index, item, read.outcome);
      blocks.push({ index, kind: item.kind, outcome: OUTCOME.opened });
      continue;
    }
    if (item.kind === 'recipient') {
      if (!key) {
        blocks.push({ index, kind: item.kind, outcome: OUTCOME.needs_key });
        continue;
      }
      const { sealedText } = checkRecipientEnvelope(item.envelope);
      if (sealedText.length - SHORTEST_SEALED_TEXT > LONGEST_TEXT - givenBack) return stop(index, item, OUTCOME.over_limit);
      const opened = await openRecipientEnvelope(provider, item.envelope, key);
      if (stopped()) return stop(index, item, OUTCOME.cancelled);
      if (opened.outcome === OUTCOME.not_for_this_key) {
        blocks.push({ index, kind: item.kind, outcome: opened.outcome });
        continue;
      }
      if (opened.outcome !== OUTCOME.opened) return stop(index, item, opened.outcome);
      givenBack += sealedText.length - SHORTEST_SEALED_TEXT;
      blocks.push({ index, kind: item.kind, outcome: OUTCOME.opened, text: opened.text, sender: opened.sender });
      continue;
    }
    if (item.kind !== 'strong') {
      blocks.push({ index, kind: item.kind, outcome: OUTCOME.compatible });
      continue;
    }
    const parts = checkEnvelope(item.envelope);
    if (parts.sealed.length - TAG_SIZE > LONGEST_TEXT - givenBack) return stop(index, item, OUTCOME.over_limit);
    const first = !formSettled;
    if (!(await rounds.mayDerive(index))) return ended(RUN_END.rounds_refused);
    let opened = await derive(item, parts.iterations, typedOpens ? password : nfc);
    if (!opened) return stop(index, item, OUTCOME.cancelled);
    if (first && opened.outcome === OUTCOME.wrong_password && typedDiffers) {
      // Sealed before keys came from NFC, perhaps: the password as typed.
      if (!(await rounds.mayDerive(index))) return ended(RUN_END.rounds_refused);
      opened = await derive(item, parts.iterations, password);
      if (!opened) return stop(index, item, OUTCOME.cancelled);
      typedOpens = opened.outcome === OUTCOME.opened;
    }
    formSettled = true;
    if (opened.outcome === OUTCOME.wrong_password) {
      blocks.push({ index, kind: item.kind, outcome: opened.outcome });
      continue;
    }
    if (opened.outcome !== OUTCOME.opened) return stop(index, item, opened.outcome);
    givenBack += parts.sealed.length - TAG_SIZE;
    blocks.push({ index, kind: item.kind, outcome: OUTCOME.opened, text: opened.text });
  }
  return ended(RUN_END.done);
}
