// The key blocks a field holds, shown under it: each one's name and safety
// digits (received_keys.mjs), or why a key block does not read, and where
// when it is damaged. Nothing when the field is empty.

import { describeDamage } from './damage_message.mjs';

function line(className, text) {
  const p = document.createElement('p');
  p.className = className;
  p.textContent = text;
  return p;
}

// `found` is keyBlocksIn's result, or null for an empty field; `heading`
// the key of a line above the keys, if any.
export function showKeyList(element, found, texts, heading = null) {
  element.replaceChildren();
  element.hidden = found === null;
  if (found === null) return;
  if (heading && found.keys.length > 0) element.append(line('key-list-heading', texts[heading]));
  for (const key of found.keys) {
    const item = line('key', '');
    const name = document.createElement('span');
    name.className = 'key-name';
    name.textContent = key.name === '' ? texts.noName : key.name;
    const digits = document.createElement('span');
    digits.className = 'digits';
    digits.textContent = key.digits;
    item.append(name, ': ', digits);
    element.append(item);
  }
  if (found.problem) {
    element.append(line('failed', texts.keyBlockOutcomes[found.problem.outcome]));
    if (found.problem.damage) element.append(line('where', describeDamage(found.problem.damage, texts)));
  } else if (found.keys.length === 0) {
    element.append(line('failed', texts.noKeyBlock));
  }
}
