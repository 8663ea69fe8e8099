// The readable text of a mail saved as a file (.eml, RFC 5322 with MIME),
// so that a recipient can hand the page the file instead of pasting: every
// text/plain part, decoded from its transfer encoding (quoted-printable or
// base64) and its charset (any the browser's TextDecoder knows: UTF-8,
// ISO-2022-JP, Shift_JIS, EUC-JP…), the parts of multipart messages and of
// forwarded messages (message/rfc822) included, attachments too. Only when
// a message has no text/plain part at all are its text/html parts read,
// reduced to their text. Headers are not shown; encoded words in them are
// not decoded. Anything malformed gives what can be read, never an error:
// a block the run cannot find there is reported by the run.

// A message nested deeper than this is read no further.
const DEEPEST_PART = 8;

const CR = 13;
const LF = 10;

// Bytes that stand for ASCII text are read as such; the rest never matters
// to a header or a boundary line.
const ascii = (bytes) => {
  let out = '';
  for (let i = 0; i < bytes.length; i += 8192) out += String.fromCharCode(...bytes.subarray(i, i + 8192));
  return out;
};

// Whether the bytes begin with a header field ("Name: value").
const FIELD_LINE = /^[\x21-\x39\x3b-\x7e]+[ \t]*:/;
const startsWithField = (bytes) => FIELD_LINE.test(ascii(bytes.subarray(0, 200)));

// Where the header lines end and the body begins: after the first empty
// line; a part that starts with its empty line has no header fields, and
// a file that does not start with a field is all body (a text saved as
// .eml, say).
function headerEnd(bytes) {
  if (bytes[0] === LF) return { headers: 0, body: 1 };
  if (bytes[0] === CR && bytes[1] === LF) return { headers: 0, body: 2 };
  if (!startsWithField(bytes)) return { headers: 0, body: 0 };
  for (let i = 0; i < bytes.length; i++) {
    if (bytes[i] !== LF) continue;
    if (bytes[i + 1] === LF) return { headers: i, body: i + 2 };
    if (bytes[i + 1] === CR && bytes[i + 2] === LF) return { headers: i, body: i + 3 };
  }
  return { headers: bytes.length, body: bytes.length };
}

// The header fields by lower-case name (the first of each), unfolded.
function readHeaders(bytes) {
  const fields = new Map();
  let current = null;
  for (const line of ascii(bytes).split(/\r?\n/)) {
    if (/^[ \t]/.test(line) && current) {
      fields.set(current, `${fields.get(current)} ${line.trim()}`);
      continue;
    }
    const colon = line.indexOf(':');
    if (colon <= 0) {
      current = null;
      continue;
    }
    const name = line.slice(0, colon).trim().toLowerCase();
    current = fields.has(name) ? null : name;
    if (current) fields.set(name, line.slice(colon + 1).trim());
  }
  return fields;
}

// "type/subtype; a=b; c="d"" -> { value: 'type/subtype', parameters }.
export function headerValue(field) {
  const [value, ...rest] = (field ?? '').split(';');
  const parameters = new Map();
  for (const part of rest) {
    const eq = part.indexOf('=');
    if (eq < 0) continue;
    let v = part.slice(eq + 1).trim();
    if (v.length >= 2 && v.startsWith('"') && v.endsWith('"')) v = v.slice(1, -1).replace(/\\(.)/g, '$1');
    parameters.set(part.slice(0, eq).trim().toLowerCase(), v);
  }
  return { value: value.trim().toLowerCase(), parameters };
}

// Quoted-printable: "=XX" is a byte, "=" at a line's end joins it to the
// next; anything else stands for itself.
export function decodeQuotedPrintable(bytes) {
  const out = new Uint8Array(bytes.length);
  const hex = (b) => (b >= 48 && b <= 57 ? b - 48 : b >= 65 && b <= 70 ? b - 55 : b >= 97 && b <= 102 ? b - 87 : -1);
  let o = 0;
  for (let i = 0; i < bytes.length; i++) {
    const b = bytes[i];
    if (b !== 61) {
      out[o++] = b;
      continue;
    }
    // A soft line break, with blanks a mail program may have left before it.
    let j = i + 1;
    while (bytes[j] === 32 || bytes[j] === 9) j++;
    if (bytes[j] === LF || (bytes[j] === CR && bytes[j + 1] === LF)) {
      i = bytes[j] === CR ? j + 1 : j;
      continue;
    }
    const high = hex(bytes[i + 1] ?? -1);
    const low = hex(bytes[i + 2] ?? -1);
    if (high >= 0 && low >= 0) {
      out[o++] = (high << 4) | low;
      i += 2;
    } else {
      out[o++] = b;
    }
  }
  return out.subarray(0, o);
}

const BASE64_DIGIT = new Int8Array(256).fill(-1);
for (const [i, c] of [...'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'].entries()) {
  BASE64_DIGIT[c.charCodeAt(0)] = i;
}

// Base64 as mail carries it: line breaks and other characters outside the
// alphabet are skipped, "=" ends it, a last incomplete group gives what
// whole bytes it holds.
export function decodeMailBase64(bytes) {
  const out = new Uint8Array(Math.floor((bytes.length * 3) / 4) + 3);
  let o = 0;
  let bits = 0;
  let held = 0;
  for (let i = 0; i < bytes.length; i++) {
    if (bytes[i] === 61) break;
    const d = BASE64_DIGIT[bytes[i]];
    if (d < 0) continue;
    bits = (bits << 6) | d;
    held += 6;
    if (held >= 8) {
      held -= 8;
      out[o++] = (bits >> held) & 255;
    }
  }
  return out.subarray(0, o);
}

// The text of bytes in `charset`; UTF-8 when it names none the browser
// knows. A broken sequence shows as U+FFFD rather than losing the rest.
export function decodeCharset(bytes, charset) {
  let decoder;
  try {
    decoder = new TextDecoder(charset || 'utf-8');
  } catch {
    decoder = new TextDecoder('utf-8');
  }
  return decoder.decode(bytes);
}

function bodyBytes(headers, body) {
  const encoding = headerValue(headers.get('content-transfer-encoding')).value;
  if (encoding === 'quoted-printable') return decodeQuotedPrintable(body);
  if (encoding === 'base64') return decodeMailBase64(body);
  return body;
}

// The parts of a multipart body: what stands between its "--boundary"
// lines, up to "--boundary--" (or the end). The preamble and epilogue are
// dropped.
function multipartParts(body, boundary) {
  const parts = [];
  const text = ascii(body);
  const delimiter = `--${boundary}`;
  let partStart = -1;
  let lineStart = 0;
  while (lineStart <= text.length) {
    let lineEnd = text.indexOf('\n', lineStart);
    if (lineEnd < 0) lineEnd = text.length;
    const line = text.slice(lineStart, lineEnd).replace(/\r$/, '').trimEnd();
    if (line === delimiter || line === `${delimiter}--`) {
      // The line break before a delimiter belongs to the delimiter.
      if (partStart >= 0) {
        let end = lineStart;
        if (end > partStart && body[end - 1] === LF) end--;
        if (end > partStart && body[end - 1] === CR) end--;
        parts.push(body.subarray(partStart, end));
      }
      if (line !== delimiter) return parts;
      partStart = lineEnd + 1;
    }
    lineStart = lineEnd + 1;
  }
  if (partStart >= 0 && partStart < body.length) parts.push(body.subarray(partStart));
  return parts;
}

// Every part of the message as { type, text } for its text/plain and
// text/html parts, in order.
function textParts(bytes, depth, found) {
  const end = headerEnd(bytes);
  const headers = readHeaders(bytes.subarray(0, end.headers));
  const body = bytes.subarray(end.body);
  const type = headerValue(headers.get('content-type') ?? 'text/plain');
  if (type.value.startsWith('multipart/')) {
    const boundary = type.parameters.get('boundary');
    if (!boundary || depth >= DEEPEST_PART) return found;
    for (const part of multipartParts(body, boundary)) textParts(part, depth + 1, found);
    return found;
  }
  if (type.value === 'message/rfc822') {
    if (depth < DEEPEST_PART) textParts(bodyBytes(headers, body), depth + 1, found);
    return found;
  }
  // A part without a type is plain text (RFC 2045).
  const kind = type.value === '' ? 'text/plain' : type.value;
  if (kind === 'text/plain' || kind === 'text/html') {
    found.push({ type: kind, text: decodeCharset(bodyBytes(headers, body), type.parameters.get('charset')) });
  }
  return found;
}

// The text inside HTML, line by line, as a browser would lay it out
// roughly: the tags that break lines break them, other tags go, the common
// character references are read.
export function htmlText(html) {
  const named = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'", nbsp: '\u00A0' };
  return html
    .replace(/<(script|style|head)\b[\s\S]*?<\/\1\s*>/gi, '')
    // Comments (spelled so that the page's script holds no comment opener).
    .replace(/<!-{2}[\s\S]*?-{2}>/g, '')
    .replace(/<br\b[^>]*>/gi, '\n')
    .replace(/<\/(p|div|li|tr|h[1-6]|pre|blockquote)\s*>/gi, '\n')
    .replace(/<[^>]*>/g, '')
    .replace(/&(#x[0-9a-f]+|#\d+|[a-z]+);/gi, (whole, ref) => {
      if (ref[0] !== '#') return named[ref.toLowerCase()] ?? whole;
      const code = ref[1] === 'x' || ref[1] === 'X' ? parseInt(ref.slice(2), 16) : parseInt(ref.slice(1), 10);
      return code > 0 && code <= 0x10ffff && !(code >= 0xd800 && code <= 0xdfff) ? String.fromCodePoint(code) : whole;
    });
}

// The text of a saved mail: its text/plain parts joined by an empty line;
// its text/html parts reduced to text when it has no text/plain part; ''
// when it has neither.
export function mailText(bytes) {
  // A mailbox's "From " line before the header, as some programs save it.
  let start = 0;
  if (ascii(bytes.subarray(0, 5)) === 'From ') start = bytes.indexOf(LF) + 1 || bytes.length;
  const parts = textParts(bytes.subarray(start), 0, []);
  const plain = parts.filter((p) => p.type === 'text/plain').map((p) => p.text);
  const texts = plain.length > 0 ? plain : parts.map((p) => htmlText(p.text));
  return texts.join('\r\n\r\n');
}
