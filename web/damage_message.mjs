// A block's damage (block_damage.mjs) in words, as the program says it: the
// texts (page_texts.mjs) take the line, the column, the character itself
// and its code point in hex, at least four digits (1F600).

import { isVisibleCharacter } from './block_damage.mjs';

const codeOf = (c) => c.toString(16).toUpperCase().padStart(4, '0');

export function describeDamage(damage, texts) {
  const { line } = damage;
  if (damage.kind === 'short_line') return texts.damageShortLine(line);
  if (damage.kind === 'uneven_length') return texts.damageUnevenLength(line);
  const { column, character } = damage;
  return isVisibleCharacter(character)
    ? texts.damageForeignCharacter(line, column, String.fromCodePoint(character), codeOf(character))
    : texts.damageInvisibleCharacter(line, column, codeOf(character));
}
