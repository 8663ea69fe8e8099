// A received mail saved as a file: its text as the received box gets it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mailText, decodeQuotedPrintable, decodeMailBase64 } from '../../web/mail_message.mjs';
import { receivedFileText, plainFileText } from '../../web/received_file.mjs';
import { sealText } from '../../web/seal_text.mjs';
import { runDecrypt } from '../../web/decrypt_run.mjs';
import { quickCrypto } from './support.mjs';

// A file's bytes: the characters below 256 as bytes (what a mail program
// wrote), or a text in UTF-8.
const bytes = (latin1) => Uint8Array.from(latin1, (c) => c.charCodeAt(0));
const utf8 = (text) => new TextEncoder().encode(text);
const latin1 = (array) => String.fromCharCode(...array);

// Quoted-printable as a mail program writes it: bytes outside printable
// ASCII and "=" as =XX, lines of at most 76 with soft breaks.
function quotedPrintable(text) {
  const lines = [];
  for (const line of text.split('\r\n')) {
    let out = '';
    let width = 0;
    for (const b of utf8(line)) {
      const piece = b >= 33 && b <= 126 && b !== 61 ? String.fromCharCode(b) : `=${b.toString(16).toUpperCase().padStart(2, '0')}`;
      if (width + piece.length > 75) {
        out += '=\r\n';
        width = 0;
      }
      out += piece;
      width += piece.length;
    }
    lines.push(out);
  }
  return lines.join('\r\n');
}

const base64Lines = (array) => Buffer.from(array).toString('base64').replace(/.{1,76}/g, '$&\r\n');

const SHIFT_JIS = Uint8Array.from(Buffer.from('8e529363976c2082a890a2986282c982c882c182c482a882e882dc82b78142', 'hex'));
const JAPANESE = '山田様 お世話になっております。';

test('a saved mail gives its plain text parts, decoded, and nothing of its headers', () => {
  const cases = [
    ['no MIME fields: the body as it is', 'From: a@example.com\r\nSubject: hi\r\n\r\nHello\r\nWorld\r\n', 'Hello\r\nWorld\r\n'],
    ['LF line breaks, a folded field', 'From: a@example.com\nSubject: a long\n  subject\n\nHello\n', 'Hello\n'],
    ['a mailbox "From " line first', 'From a@example.com Mon Jan  1 00:00:00 2026\nFrom: a@example.com\n\nBody\n', 'Body\n'],
    ['no header fields at all: every line is text', 'Hello this is\r\n\r\nnot a header\r\n',
      'Hello this is\r\n\r\nnot a header\r\n'],
    ['ISO-2022-JP, 7bit', 'Content-Type: text/plain; charset="ISO-2022-JP"\r\n\r\n' +
      '\x1b$B;3EDMM\x1b(B \x1b$B$*@$OC$K$J$C$F$*$j$^$9!#\x1b(B', JAPANESE],
    ['Shift_JIS in base64, its lines broken', 'Content-Type: text/plain; charset=Shift_JIS\r\n' +
      `Content-Transfer-Encoding: base64\r\n\r\n${base64Lines(SHIFT_JIS).replace(/(.{10})/, '$1\r\n')}`, JAPANESE],
    ['UTF-8 in quoted-printable', 'Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n' +
      quotedPrintable(`${JAPANESE} a=b`), `${JAPANESE} a=b`],
    ['a charset the browser does not know: UTF-8', `Content-Type: text/plain; charset=x-unknown\r\n\r\n${latin1(utf8(JAPANESE))}`, JAPANESE],
    ['multipart/alternative: the plain part, not the HTML', [
      'MIME-Version: 1.0', 'Content-Type: multipart/alternative; boundary="b= 1"', '', 'preamble', '--b= 1',
      'Content-Type: text/plain; charset=utf-8', 'Content-Transfer-Encoding: quoted-printable', '', quotedPrintable(JAPANESE),
      '--b= 1', 'Content-Type: text/html; charset=utf-8', '', '<p>HTML</p>', '--b= 1--', 'epilogue'].join('\r\n'), JAPANESE],
    ['HTML only: its text, line by line', [
      'Content-Type: multipart/alternative; boundary=xyz', '', '--xyz', 'Content-Type: text/html; charset=utf-8', '',
      '<html><head><style>p {}</style></head><body><p>Tom &amp; Jerry</p><!-- note -->&#x3042;<br>&#12356;&nbsp;&bogus;</body></html>',
      '--xyz--'].join('\r\n'), 'Tom & Jerry\n\u3042\n\u3044\u00A0&bogus;'],
    ['a forwarded message and an attached text, in order', [
      'Content-Type: multipart/mixed; boundary=outer', '', '--outer', 'Content-Type: text/plain', '', 'first',
      '--outer', 'Content-Type: message/rfc822', '', 'From: b@example.com', 'Content-Type: text/plain', '', 'forwarded',
      '--outer', 'Content-Type: text/plain; name="a.txt"', 'Content-Disposition: attachment; filename="a.txt"',
      'Content-Transfer-Encoding: base64', '', base64Lines(utf8('attached')), '--outer',
      'Content-Type: application/pdf', 'Content-Transfer-Encoding: base64', '', 'JVBERi0=', '--outer--'].join('\r\n'),
      'first\r\n\r\nforwarded\r\n\r\nattached'],
    ['a multipart body whose last delimiter was cut off', 'Content-Type: multipart/mixed; boundary=z\n\n--z\n\nkept\n',
      'kept\n'],
    ['a multipart part without a boundary: nothing', 'Content-Type: multipart/mixed\n\n--z\n\nlost\n', ''],
  ];
  for (const [what, file, text] of cases) assert.equal(mailText(bytes(file)), text, what);
});

test('a message nested past the limit is read no further, and does not fail', () => {
  let message = 'Content-Type: text/plain\r\n\r\ndeep';
  for (let i = 0; i < 200; i++) message = `Content-Type: multipart/mixed; boundary=b${i}\r\n\r\n--b${i}\r\n${message}\r\n--b${i}--`;
  assert.equal(mailText(bytes(message)), '');
  assert.equal(mailText(bytes('')), '');
  assert.equal(mailText(bytes('Content-Type: text/plain')), '');
});

test('quoted-printable and mail base64 take what mail programs write and leave the rest', () => {
  const qp = [
    ['=E3=81=82', '\xe3\x81\x82'],
    ['soft =\r\nbreak, soft =  \nbreak', 'soft break, soft break'],
    ['=3d and =3D', '= and ='],
    ['a stray = and =G1 and =', 'a stray = and =G1 and ='],
  ];
  for (const [encoded, decoded] of qp) assert.equal(latin1(decodeQuotedPrintable(bytes(encoded))), decoded, encoded);
  assert.equal(latin1(decodeMailBase64(bytes('SGVs\r\nbG8=\r\nignored'))), 'Hello');
  assert.equal(latin1(decodeMailBase64(bytes('SGVsbG8h*'))), 'Hello!');
  assert.equal(latin1(decodeMailBase64(bytes('SGVsbG'))), 'Hell');
});

test('a plain text file: UTF-8 with or without its mark, UTF-16 with one, else Shift_JIS', () => {
  const cases = [
    ['UTF-8', utf8(JAPANESE)],
    ['UTF-8 with a byte order mark', Uint8Array.of(0xef, 0xbb, 0xbf, ...utf8(JAPANESE))],
    ['UTF-16 LE with its mark', Uint8Array.of(0xff, 0xfe, ...Buffer.from(JAPANESE, 'utf16le'))],
    ['UTF-16 BE with its mark', Uint8Array.of(0xfe, 0xff, ...Buffer.from(JAPANESE, 'utf16le').swap16())],
    ['Shift_JIS', SHIFT_JIS],
  ];
  for (const [what, file] of cases) assert.equal(plainFileText(file), JAPANESE, what);
});

test('a block in a saved mail opens as pasted: .eml decoded, .txt as it is', async () => {
  const provider = quickCrypto();
  // Lines of 100: quoted-printable breaks them with soft line breaks.
  const { block } = await sealText('見積書の金額です。', 'pw', 'pw', 100, provider);
  const body = `山田様\r\n\r\n${block}\r\n\r\nよろしくお願いします。`;
  const eml = `From: a@example.com\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n${quotedPrintable(body)}`;
  assert.match(eml, /=\r\n/);
  const texts = [
    ['mail.eml', bytes(eml)],
    ['MAIL.EML', bytes(eml)],
    ['mail.txt', utf8(body)],
  ];
  for (const [name, file] of texts) {
    const text = receivedFileText(name, file);
    assert.equal(text, body, name);
    const opened = await runDecrypt(text, 'pw', { provider });
    assert.deepEqual(opened.blocks.map((b) => b.text), ['見積書の金額です。'], name);
  }
});
