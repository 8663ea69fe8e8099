// The line under a text opened with a key: who wrote it, by their key's
// safety digits (what two people compare), and when their clock said it
// was, in this device's time zone; a note when the sender is the reader's
// own key.

function writtenAtText(seconds, lang) {
  const date = new Date(seconds * 1000);
  // A time no date holds (a crafted block): the seconds as written.
  if (Number.isNaN(date.getTime())) return String(seconds);
  return date.toLocaleString(lang === 'ja' ? 'ja-JP' : 'en-GB', {
    year: 'numeric', month: '2-digit', day: '2-digit', hour: '2-digit', minute: '2-digit', timeZoneName: 'short',
  });
}

// `sender`: { digits, writtenAt, isYou }.
export function senderLine(sender, texts) {
  const line = texts.senderLine(sender.digits, writtenAtText(sender.writtenAt, texts.lang));
  return sender.isYou ? `${line} ${texts.senderIsYou}` : line;
}
