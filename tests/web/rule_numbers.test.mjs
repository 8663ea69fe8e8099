// The page's rule numbers are the program's: each one read from the C++
// header that names it and held equal to the page's, so a number changed on
// one side fails here until the other follows.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import * as rules from '../../web/block_rules.mjs';
import * as layout from '../../web/envelope_layout.mjs';
import { RATE_PROBE_ROUNDS } from '../../web/derivation_rate.mjs';
import * as keys from '../../web/keys_layout.mjs';

const header = (path) => readFileSync(new URL(`../../${path}`, import.meta.url), 'utf8');

// The value of `inline constexpr <type> <name> = <value>;`: a number with
// digit separators, or `std::size_t{n} << k`.
function constant(source, name) {
  const m = source.match(new RegExp(`constexpr [\\w:]+ ${name} = ([^;]+);`));
  assert.ok(m, `${name} is not in the header`);
  const value = m[1].trim();
  const shifted = value.match(/^std::size_t\{(\d+)\} << (\d+)$/);
  if (shifted) return Number(shifted[1]) * 2 ** Number(shifted[2]);
  assert.match(value, /^[\d']+$/, `${name}: a value this test cannot read`);
  return Number(value.replaceAll("'", ''));
}

test('the round budget, the read bounds, the text limit and the password limit are the program\'s', () => {
  const blockRules = header('block/block_rules.h');
  const envelopeLayout = header('block/strong/envelope_layout.h');
  const derivationRate = header('block/derivation_rate.h');
  const keysLayout = header('block/keys/keys_layout.h');
  const keyFile = header('block/keys/key_file.h');
  const pairs = [
    [blockRules, 'kRoundBudget', rules.ROUND_BUDGET],
    [blockRules, 'kLongestText', rules.LONGEST_TEXT],
    [blockRules, 'kLongestStrongPassword', rules.LONGEST_PASSWORD],
    [blockRules, 'kNarrowestWrap', rules.NARROWEST_WRAP],
    [blockRules, 'kWidestWrap', rules.WIDEST_WRAP],
    [blockRules, 'kDefaultWrap', rules.DEFAULT_WRAP],
    [envelopeLayout, 'kMinReadIterations', layout.MIN_READ_ITERATIONS],
    [envelopeLayout, 'kMaxReadIterations', layout.MAX_READ_ITERATIONS],
    [envelopeLayout, 'kWriteIterations', layout.WRITE_ITERATIONS],
    [envelopeLayout, 'kMaxTextBytes', layout.MAX_TEXT_BYTES],
    [derivationRate, 'kRateProbeRounds', RATE_PROBE_ROUNDS],
    [keysLayout, 'kLongestKeyName', keys.LONGEST_KEY_NAME],
    [keysLayout, 'kMostRecipients', keys.MOST_RECIPIENTS],
    [keysLayout, 'kKeyChecksumSize', keys.KEY_CHECKSUM_SIZE],
    [keysLayout, 'kDigitGroups', keys.DIGIT_GROUPS],
  ];
  for (const [source, name, page] of pairs) assert.equal(page, constant(source, name), name);
});

test('the labels of the blocks of keys are the program\'s', () => {
  const keysLayout = header('block/keys/keys_layout.h');
  const keyFile = header('block/keys/key_file.h');
  for (const [name, page] of [['kDigitsLabel', keys.DIGITS_LABEL], ['kWrapInfo', keys.WRAP_INFO],
    ['kSecretKeyLabel', keys.SECRET_KEY_LABEL]]) {
    const m = keysLayout.match(new RegExp(`constexpr std::string_view ${name} = "([^"]*)";`));
    assert.ok(m, `${name} is not in the header`);
    assert.equal(page, m[1], name);
  }
});
