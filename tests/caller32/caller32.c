/* caller32: a C program linked against quiren.dll's import library the
 * ordinary way (no GetProcAddress). In the 32-bit build it links the
 * __stdcall names (_name@N) that callers compiled with quiren.h ask for, so
 * it fails to link or to load when the import library or the exports lose
 * them. Each case goes through all three exports and must give the known
 * block and text (checked against tests/reference/quiren_ref.py). Run it
 * in a folder without DfFugoList.lst. */
#include <stdio.h>
#include <string.h>

#include "cipher/quiren.h"

struct known_answer {
  const char* text;
  const char* password;
  const char* block; /* armoured body and mode letter */
  const char* back;  /* what decryption gives: mode "A" keeps the fill letters */
};

static const struct known_answer cases[] = {
    {"Hello, world.", "pw", "!ve~e\?6my9FFz$PLU%/;A", "Hello, world.xxx"},
    /* double-byte text and password (code page 932) */
    {"\223\372\226{\214\352\202\314\203e\203L\203X\203g", "\210\303\215\206pass", "&yR27_uLWTiu!N/7fjnbA",
     "\223\372\226{\214\352\202\314\203e\203L\203X\203g"},
    {"x", "", "t;[31A", "xXXX"},
    {"", "pw", "A", ""},
    /* compresses: mode "B" */
    {"abababababababababababababababababababababababababababababababababababababababab", "key",
     "Xaz2qT.bmpeB@oy[B0xG@9whIiSMZ%2bS1&UdeKYZOG1)n%CV*Z5JZ|;-/BE9T'k:B",
     "abababababababababababababababababababababababababababababababababababababababab"},
};

static int failures = 0;

static void expect(const char* what, size_t index, const char* got, const char* want) {
  if (got != NULL && strcmp(got, want) == 0) return;
  ++failures;
  printf("caller32: case %u, %s: got \"%s\", expected \"%s\"\n", (unsigned)index, what, got ? got : "(null)", want);
}

int main(void) {
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const struct known_answer* c = &cases[i];
    char* block = wakaranakusuru(c->text, c->password);
    expect("block", i, block, c->block);
    if (block != NULL && block[0] != '\0') {
      const size_t n = strlen(block);
      char mode[2];
      char* back;
      mode[0] = block[n - 1];
      mode[1] = '\0';
      block[n - 1] = '\0';
      back = wakaruyounisuru(block, c->password, mode);
      expect("decrypted", i, back, c->back);
      quiren_release(back);
    }
    quiren_release(block);
  }
  quiren_release(NULL);
  if (failures != 0) {
    printf("caller32: %d of the known answers differ\n", failures);
    return 1;
  }
  printf("caller32: %u known answers agree\n", (unsigned)(sizeof cases / sizeof cases[0]));
  return 0;
}
