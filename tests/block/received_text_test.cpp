#include "block/received_text.h"

#include <gtest/gtest.h>

#include "block/line_breaks.h"

namespace quiren::block {
namespace {

TEST(ReceivedText, LineBreaksBecomeCrLf) {
  EXPECT_EQ(crlf_line_breaks(u"a\nb\rc\r\nd\n\ne\r\r"), u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
  EXPECT_EQ(crlf_line_breaks(u"\r\n\r\n"), u"\r\n\r\n");
}

TEST(ReceivedText, QuotePrefixOfTheMarkerLineIsRemovedFromItsBlock) {
  struct Case {
    const char* name;
    std::u16string_view in;
    std::u16string_view out;
  };
  const Case cases[] = {
      {"plain block unchanged", u"x\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)", u"x\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)"},
      {"one level", u"hi\r\n> (quiren_start)\r\n> AGg2Qs>A#3\r\n> (quiren_end)\r\n> bye",
       u"hi\r\n(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)\r\n> bye"},
      {"body line starting with the separator", u"> (quiren_start)\r\n> AGGGG\r\n> >A#3\r\n> (quiren_end)",
       u"(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)"},
      {"separator right after an unspaced prefix", u">(quiren_start)\r\n>AGGGG\r\n>>A#3\r\n>(quiren_end)",
       u"(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)"},
      {"two levels, spacing differs", u">> (quiren_start)\r\n> > AGg\r\n>>(quiren_end)",
       u"(quiren_start)\r\nAGg\r\n(quiren_end)"},
      {"bar prefix", u"| (quiren_start)\r\n| AGg\r\n| (quiren_end)", u"(quiren_start)\r\nAGg\r\n(quiren_end)"},
      {"other text before the marker is not a prefix", u"see (quiren_start)\r\n> AGg\r\n(quiren_end)",
       u"see (quiren_start)\r\n> AGg\r\n(quiren_end)"},
      {"each block its own prefix",
       u"> (quiren_start)\r\n> AG\r\n> (quiren_end)\r\n| (quiren_start)\r\n| BG\r\n| (quiren_end)",
       u"(quiren_start)\r\nAG\r\n(quiren_end)\r\n(quiren_start)\r\nBG\r\n(quiren_end)"},
      {"no end marker: left alone", u"> (quiren_start)\r\n> AG", u"> (quiren_start)\r\n> AG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(unquote_blocks(c.in), c.out);
  }
}

}  // namespace
}  // namespace quiren::block
