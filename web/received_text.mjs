// Repairs what mail, chat and office programs do to a block on its way,
// before the block reader sees it: the program's own repair, rule for rule.
//
// Each block that the reader cannot read as it stands, and whose start
// marker follows nothing but a quote prefix on its line, is put back into
// the writer's form (writersForm in received_blocks.mjs says how), from
// where its start marker's line begins to its end marker. Left exactly as
// they stand: a text without a start marker followed by an end marker; a
// block whose start marker follows anything else on its line; a block the
// reader reads without a problem into fields that nothing here would
// change; a block whose writer's form cannot be told; everything outside
// the blocks. Linear in the text's length; repairSteps yields now and then
// (steps.mjs).

import { START_MARKER, END_MARKER } from './block_rules.mjs';
import { readBlocks, delspace } from './armoured_block.mjs';
import { isBlank, isInvisibleInsertion, asciiForm, straightQuote } from './received_characters.mjs';
import { receivedBlocks, afterQuotePrefix, writersForm, isPrintableAscii } from './received_blocks.mjs';
import { finish } from './steps.mjs';

const isLineBreak = (c) => c === '\r' || c === '\n';

// A character the repair drops or reads as another. Printable ASCII, all
// that a readable field holds, it never changes.
function repairChanges(c) {
  if (isPrintableAscii(c)) return false;
  return isBlank(c) || isLineBreak(c) || isInvisibleInsertion(c) || asciiForm(c) !== c || straightQuote(c) !== c;
}

// Whether the reader reads the block [start marker, end marker] without a
// problem, into fields that nothing here would change: its fields are
// armour, and only a compatible block's text mode letter, which the reader
// does not check, could be a character the repair changes. The reader's
// result for a block depends on nothing outside it, so the block is read
// alone (without spaces when they break a marker, as the reader drops
// them anyway).
function readsAsItStands(block, brokenMarker) {
  const items = readBlocks(brokenMarker ? delspace(block) : block);
  if (items.length === 0 || items[0].problem) return false;
  const mode = items[0].textMode ?? '';
  return mode === '' || !repairChanges(mode);
}

export function* repairSteps(text) {
  const blocks = yield* receivedBlocks(text);
  if (blocks.length === 0) return text;
  const out = [];
  let done = 0;  // text before this offset is in `out`
  for (const block of blocks) {
    yield;
    const asReceived = text.slice(block.start.begin, block.end.end);
    const brokenMarker = text.slice(block.start.begin, block.start.end) !== START_MARKER ||
      text.slice(block.end.begin, block.end.end) !== END_MARKER;
    let form = null;
    if (afterQuotePrefix(text, block) && !readsAsItStands(asReceived, brokenMarker)) form = yield* writersForm(text, block);
    if (form) {
      out.push(text.slice(done, block.lineBegin), form.text);
    } else {
      out.push(text.slice(done, block.end.end));
    }
    done = block.end.end;
  }
  out.push(text.slice(done));
  return out.join('');
}

export const repairReceivedText = (text) => finish(repairSteps(text));
