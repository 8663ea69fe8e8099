import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync, rmSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

const assembler = fileURLToPath(new URL('../../web/assemble.py', import.meta.url));

function assemble() {
  const dir = mkdtempSync(join(tmpdir(), 'quiren-page-'));
  try {
    const out = join(dir, 'quiren-reader.html');
    execFileSync('python3', [assembler, out, '--version', 'test']);
    return readFileSync(out, 'utf8');
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

const page = assemble();
const csp = page.match(/<meta http-equiv="Content-Security-Policy" content="([^"]*)">/)?.[1] ?? '';
const script = page.match(/<script type="module">([\s\S]*)<\/script>/)?.[1] ?? '';
const style = page.match(/<style>([\s\S]*)<\/style>/)?.[1] ?? '';
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

test('the same sources give the same page', () => {
  assert.equal(assemble(), page);
});

test('the policy forbids every network access and allows the one script and style sheet by hash', () => {
  const directives = Object.fromEntries(csp.split(';').map((d) => d.trim().split(/\s+/)).map(([k, ...v]) => [k, v.join(' ')]));
  assert.equal(directives['default-src'], "'none'");
  assert.equal(directives['connect-src'], "'none'");
  assert.equal(directives['form-action'], "'none'");
  assert.equal(directives['script-src'], hash(script));
  assert.equal(directives['style-src'], hash(style));
  assert.ok(!csp.includes('unsafe'), csp);
});

test('one file: no outside resource, no markup made from text, nothing that reaches out', () => {
  assert.equal((page.match(/<script/g) ?? []).length, 1);
  assert.doesNotMatch(page.replace(script, ''), /\b(src|href)\s*=/i);
  assert.doesNotMatch(script, /\bsrc\s*=/i);
  // The one link the script makes points at a file it made itself (a saved
  // text), never at an address.
  assert.deepEqual([...script.matchAll(/\bhref\s*=\s*([^;]+);/gi)].map((m) => m[1]), ['URL.createObjectURL(blob)']);
  assert.doesNotMatch(page.replace(/\b(create|revoke)ObjectURL\(/g, ''), /url\(/i);
  for (const word of ['innerHTML', 'outerHTML', 'insertAdjacentHTML', 'document.write', 'eval(', 'new Function',
    'fetch(', 'XMLHttpRequest', 'WebSocket', 'sendBeacon', 'EventSource', 'localStorage', 'import(']) {
    assert.ok(!script.includes(word), `the script uses ${word}`);
  }
});

test('no text field is handed to the browser\'s spell check, which may send it elsewhere', () => {
  const fields = page.match(/<(textarea|input type="(password|text)")[^>]*>/g) ?? [];
  assert.ok(fields.length >= 6);
  for (const field of fields) assert.match(field, /spellcheck="false"/, field);
  assert.match(script, /spellcheck = false/);
});

test('the script is one valid module', () => {
  const dir = mkdtempSync(join(tmpdir(), 'quiren-page-'));
  try {
    const file = join(dir, 'page-script.mjs');
    writeFileSync(file, script);
    execFileSync(process.execPath, ['--check', file]);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
