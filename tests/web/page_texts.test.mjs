// The page's texts: the Japanese a block's outcome shows is word for word
// the program's (read from its headers), and each tab's three first steps
// end at the tab's own button.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { PAGE_TEXTS } from '../../web/page_texts.mjs';

const header = (path) => readFileSync(new URL(`../../${path}`, import.meta.url), 'utf8');

// The text of `inline constexpr std::u16string_view <name> = u"…";`, which
// may stand on the next line.
function u16Text(source, name) {
  const m = source.match(new RegExp(`constexpr std::u16string_view ${name} =\\s*u"([^"]*)";`));
  assert.ok(m, `${name} is not in the header`);
  return m[1];
}

test('what a block comes to reads in Japanese as the program says it', () => {
  const rules = header('block/block_rules.h');
  const flows = header('tray/flows/flow_texts.h');
  const outcomes = PAGE_TEXTS.ja.outcomes;
  assert.equal(outcomes.wrong_password, u16Text(rules, 'kStrongNotOpenedText'));
  assert.equal(outcomes.damaged, u16Text(flows, 'kInvalidCiphertext'));
  assert.equal(outcomes.refused_settings, u16Text(flows, 'kRefusedSettings'));
  assert.equal(outcomes.over_limit, u16Text(flows, 'kOverLimit'));
});

test('each tab starts with three steps, the last pressing the tab\'s button', () => {
  for (const texts of Object.values(PAGE_TEXTS)) {
    for (const [tab, button] of [['open', texts.open], ['seal', texts.seal]]) {
      const steps = texts.steps[tab];
      assert.equal(steps.length, 3, `${texts.lang} ${tab}`);
      assert.ok(steps.every((step) => typeof step === 'string' && step.length > 0), `${texts.lang} ${tab}`);
      assert.ok(steps[2].includes(texts.lang === 'ja' ? `「${button}」` : `"${button}"`), `${texts.lang} ${tab}: ${steps[2]}`);
    }
    assert.deepEqual(Object.keys(texts.steps), Object.keys(PAGE_TEXTS.ja.steps), texts.lang);
  }
});
