#include "tools/quiren/received_text.h"

#include <gtest/gtest.h>

namespace quiren::tool {
namespace {

TEST(ReceivedText, LineBreaksBecomeCrLf) {
  EXPECT_EQ(crlf_line_breaks("a\nb\rc\r\nd\n\ne\r\r"), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
  EXPECT_EQ(crlf_line_breaks("\r\n\r\n"), "\r\n\r\n");
}

TEST(ReceivedText, QuotePrefixOfTheMarkerLineIsRemovedFromItsBlock) {
  struct Case {
    const char* name;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"plain block unchanged", "x\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)", "x\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)"},
      {"one level", "hi\r\n> (quiren_start)\r\n> AGg2Qs>A#3\r\n> (quiren_end)\r\n> bye",
       "hi\r\n(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)\r\n> bye"},
      {"body line starting with the separator", "> (quiren_start)\r\n> AGGGG\r\n> >A#3\r\n> (quiren_end)",
       "(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)"},
      {"separator right after an unspaced prefix", ">(quiren_start)\r\n>AGGGG\r\n>>A#3\r\n>(quiren_end)",
       "(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)"},
      {"two levels, spacing differs", ">> (quiren_start)\r\n> > AGg\r\n>>(quiren_end)",
       "(quiren_start)\r\nAGg\r\n(quiren_end)"},
      {"bar prefix", "| (quiren_start)\r\n| AGg\r\n| (quiren_end)", "(quiren_start)\r\nAGg\r\n(quiren_end)"},
      {"other text before the marker is not a prefix", "see (quiren_start)\r\n> AGg\r\n(quiren_end)",
       "see (quiren_start)\r\n> AGg\r\n(quiren_end)"},
      {"each block its own prefix",
       "> (quiren_start)\r\n> AG\r\n> (quiren_end)\r\n| (quiren_start)\r\n| BG\r\n| (quiren_end)",
       "(quiren_start)\r\nAG\r\n(quiren_end)\r\n(quiren_start)\r\nBG\r\n(quiren_end)"},
      {"no end marker: left alone", "> (quiren_start)\r\n> AG", "> (quiren_start)\r\n> AG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(unquote_blocks(c.in), c.out);
  }
}

}  // namespace
}  // namespace quiren::tool
