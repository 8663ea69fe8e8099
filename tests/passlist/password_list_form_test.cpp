#include "tray/passlist/password_list_form.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/support/secret_texts.h"
#include "tray/passlist/password_list_layout.h"
#include "tray/passlist/protected_list_file.h"
#include "tray/passlist/password_list_texts.h"

namespace quiren {
namespace {

using testing::FakeDesktop;
using testing::plain;
using testing::u16;
namespace texts = passlist::texts;

const std::u16string kPath = u"C:\\Program Files\\mu-quiren\\quiren.pas";
const std::u16string kBackupPath = u"C:\\Program Files\\mu-quiren\\quiren.pas.bak";
const std::string kThreeEntries =
    "3\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n\"second\"\r\n\"three\"\r\n\"third\"\r\n";
using Lines = std::vector<std::u16string>;

struct PasswordListWindowTest : ::testing::Test {
  explicit PasswordListWindowTest(int code_page = 932) : desktop(code_page) {}

  PasswordListForm& open_editor() {
    window.load();
    return window;
  }
  PasswordListForm& open_chooser() {
    chooser.load();
    return chooser;
  }

  FakeDesktop desktop;
  Busy busy;
  PasswordListForm window{PasswordListMode::editor, busy, desktop};
  PasswordListForm chooser{PasswordListMode::chooser, busy, desktop};
};

TEST_F(PasswordListWindowTest, EditorOpensWithTheFileListedAndNothingSelected) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  EXPECT_EQ(window.caption(), texts::kEditorCaption);
  EXPECT_EQ(plain(window.passwords()), (Lines{u"one", u"two", u"three"}));
  EXPECT_FALSE(window.passwords_shown());
  EXPECT_EQ(window.count(), 3);
  EXPECT_EQ(window.selected(), -1);
  EXPECT_EQ(window.info_text(), u"");
  EXPECT_TRUE(window.buttons_enabled());
  EXPECT_FALSE(window.client_height_twips());
  EXPECT_FALSE(window.unsaved_changes());
  EXPECT_FALSE(busy.idle()) << "the open window keeps the clipboard watch quiet";
  EXPECT_FALSE(window.closed());
  EXPECT_TRUE(desktop.boxes.empty());
  window.unload();
  EXPECT_TRUE(busy.idle());
}

// The list box shows each password masked until the show box is ticked;
// what the lines stand for (the entries, and what is saved) is the same
// either way.
TEST_F(PasswordListWindowTest, LinesAreMaskedUntilTheShowBoxIsTicked) {
  desktop.files[kPath] = "3\r\n\"a\"\r\n\"1\"\r\n\"secret\"\r\n\"2\"\r\n\"xy\"\r\n\"3\"\r\n";
  open_editor();
  EXPECT_EQ(plain(window.lines()), (Lines{u"●", u"se●●●●", u"●●"}));
  window.show_passwords(true);
  EXPECT_TRUE(window.passwords_shown());
  EXPECT_EQ(plain(window.lines()), (Lines{u"a", u"secret", u"xy"}));

  desktop.prompt_answers = {u"added", u"4"};
  window.add();
  EXPECT_EQ(plain(window.lines()).back(), u"added");
  window.show_passwords(false);
  EXPECT_EQ(plain(window.lines()), (Lines{u"●", u"se●●●●", u"●●", u"ad●●●"}));
  window.on_list_click(1);
  window.delete_selected();
  EXPECT_EQ(plain(window.lines()), (Lines{u"●", u"●●", u"ad●●●"}));

  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.files[kPath], "3\r\n\"a\"\r\n\"1\"\r\n\"xy\"\r\n\"3\"\r\n\"added\"\r\n\"4\"\r\n");
}

// Each opening starts masked, and a masked line picks its whole password.
TEST_F(PasswordListWindowTest, ChooserStartsMaskedAndPicksTheWholePassword) {
  desktop.files[kPath] = kThreeEntries;
  open_chooser();
  chooser.show_passwords(true);
  chooser.unload();

  PasswordListForm again(PasswordListMode::chooser, busy, desktop);
  again.load();
  EXPECT_FALSE(again.passwords_shown());
  EXPECT_EQ(plain(again.lines()), (Lines{u"on●", u"tw●", u"th●●●"}));
  again.on_list_double_click(1);
  EXPECT_EQ(again.take_pick(), std::u16string_view(u"two"));
}

TEST_F(PasswordListWindowTest, EditorOpensAnEmptyListSilently) {
  open_editor();
  EXPECT_TRUE(window.lines().empty());
  EXPECT_FALSE(window.closed());
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(PasswordListWindowTest, CountIsThePairsReadNotTheCountLine) {
  desktop.files[kPath] = "7\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n";
  open_editor();
  EXPECT_EQ(plain(window.passwords()), Lines{u"a"});
  EXPECT_EQ(window.count(), 1);
  window.on_list_click(0);
  window.delete_selected();
  window.unload();
  EXPECT_EQ(desktop.files[kPath], "0\r\n");
}

TEST_F(PasswordListWindowTest, ClickShowsTheDescription) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.on_list_click(1);
  EXPECT_EQ(window.info_text(), u"second");
  // Leaving no line selected keeps the last description.
  window.on_list_click(-1);
  EXPECT_EQ(window.info_text(), u"second");
}

TEST_F(PasswordListWindowTest, AddAsksForPasswordThenDescription) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.on_list_click(0);
  desktop.prompt_answers = {u" pass, word ", u16("説明")};
  window.add();
  ASSERT_EQ(desktop.prompts.size(), 2u);
  EXPECT_EQ(desktop.prompts[0].prompt, texts::kPasswordPrompt);
  EXPECT_EQ(desktop.prompts[1].prompt, texts::kDescriptionPrompt);
  for (const auto& prompt : desktop.prompts) EXPECT_EQ(prompt.title, u"パスワードリストの編集");
  EXPECT_EQ(window.passwords().back(), std::u16string_view(u" pass, word "));
  EXPECT_EQ(window.descriptions().back(), u16("説明"));
  EXPECT_EQ(window.count(), 4);
  EXPECT_TRUE(window.unsaved_changes());
  // The new entry is not selected and the label keeps what it showed.
  EXPECT_EQ(window.selected(), 0);
  EXPECT_EQ(window.info_text(), u"first");
}

TEST_F(PasswordListWindowTest, CancelAtTheDescriptionStillAdds) {
  open_editor();
  desktop.prompt_answers = {u"pw"};
  window.add();
  EXPECT_EQ(plain(window.passwords()), Lines{u"pw"});
  EXPECT_EQ(window.descriptions(), Lines{u""});
}

struct AddCase {
  const char* name;
  int code_page;
  std::u16string password;
  std::u16string description;
  std::u16string_view refusal;  // empty: added
  std::size_t prompts;          // prompts shown
};

class PasswordListAdd : public ::testing::TestWithParam<AddCase> {};

TEST_P(PasswordListAdd, AcceptsOrRefusesBeforeAnythingChanges) {
  const AddCase& c = GetParam();
  FakeDesktop desktop(c.code_page);
  Busy busy;
  PasswordListForm window(PasswordListMode::editor, busy, desktop);
  window.load();
  desktop.prompt_answers = {c.password, c.description};
  window.add();
  EXPECT_EQ(desktop.prompts.size(), c.prompts);
  if (c.refusal.empty()) {
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(plain(window.passwords()), Lines{c.password});
    EXPECT_TRUE(window.unsaved_changes());
  } else {
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, c.refusal);
    EXPECT_EQ(desktop.boxes[0].icon, Icon::critical);
    EXPECT_EQ(desktop.boxes[0].buttons, Buttons::ok);
    EXPECT_TRUE(window.passwords().empty());
    EXPECT_TRUE(window.lines().empty());
    EXPECT_FALSE(window.unsaved_changes());
  }
}

const std::u16string kThirtyJapanese(30, u'漢');
const std::u16string k128Japanese(128, u'漢');

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordListAdd,
    ::testing::Values(
        AddCase{"thirty_ascii", 932, std::u16string(30, u'a'), u"d", {}, 2},
        AddCase{"thirty_japanese", 932, kThirtyJapanese, u"d", {}, 2},
        // An entry may serve a strong block: the strong limit. A compatible
        // block refuses a longer one when it is about to be written.
        AddCase{"thirty_one_ascii", 932, std::u16string(31, u'a'), u"d", {}, 2},
        AddCase{"thirty_one_japanese", 932, kThirtyJapanese + u"字", u"d", {}, 2},
        AddCase{"a_hundred_and_twenty_eight", 932, k128Japanese, u"d", {}, 2},
        AddCase{"a_hundred_and_twenty_nine_refused", 932, k128Japanese + u"字", u"d", texts::kTooLong, 1},
        AddCase{"quote_in_password", 932, u"a\"b", u"d", texts::kQuoteRefused, 1},
        AddCase{"quote_in_description", 932, u"ab", u"say \"hi\"", texts::kQuoteRefused, 2},
        AddCase{"japanese_outside_1252", 1252, u16("秘密"), u"d", texts::kCharacterRefused, 1},
        AddCase{"description_outside_1252", 1252, u"ab", u16("説明"), texts::kCharacterRefused, 2},
        AddCase{"accents_in_1252", 1252, u16("café"), u16("déjà"), {}, 2},
        AddCase{"outside_932", 932, u16("pass😀"), u"d", texts::kCharacterRefused, 1}),
    [](const ::testing::TestParamInfo<AddCase>& param_info) { return param_info.param.name; });

TEST_F(PasswordListWindowTest, ThePasswordIsMaskedAndTypedTwice) {
  open_editor();
  // The repetition differs: said, and the prompt takes the next try; Cancel
  // there adds nothing.
  desktop.prompt_answers = {u"合言葉"};
  desktop.confirmation_answers = {u"合言業"};
  window.add();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].kind, testing::PromptKind::confirmed_password);
  EXPECT_EQ(desktop.prompts[0].title, texts::kPromptTitle);
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(core::texts::kPasswordsDiffer)});
  EXPECT_TRUE(window.lines().empty());

  // Typed the same twice after a differing try: added, the description
  // asked in a plain prompt.
  desktop.prompts.clear();
  desktop.boxes.clear();
  desktop.prompt_answers = {u"合言葉", u"合言葉", u"説明"};
  desktop.confirmation_answers = {u"合言葉 ", u"合言葉"};
  window.add();
  EXPECT_EQ(desktop.box_texts().size(), 1u);
  EXPECT_EQ(plain(window.passwords()), Lines{u"合言葉"});
  EXPECT_EQ(window.descriptions(), Lines{u"説明"});
  ASSERT_EQ(desktop.prompts.size(), 2u);
  EXPECT_EQ(desktop.prompts[1].kind, testing::PromptKind::plain);
}

TEST_F(PasswordListWindowTest, CancelAtThePasswordChangesNothing) {
  open_editor();
  window.add();
  EXPECT_EQ(desktop.prompts.size(), 1u);
  EXPECT_TRUE(window.lines().empty());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(window.unsaved_changes());
}

struct DeleteCase {
  const char* name;
  std::string file;
  int index;
  Lines left;
  int selected_after;
  std::u16string info_after;
};

class PasswordListDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(PasswordListDelete, ClosesTheGapAndSelectsTheNeighbour) {
  const DeleteCase& c = GetParam();
  FakeDesktop desktop;
  desktop.files[kPath] = c.file;
  Busy busy;
  PasswordListForm window(PasswordListMode::editor, busy, desktop);
  window.load();
  window.on_list_click(c.index);
  window.delete_selected();
  EXPECT_EQ(plain(window.passwords()), c.left);
  EXPECT_EQ(window.lines().size(), c.left.size());
  EXPECT_EQ(window.descriptions().size(), c.left.size());
  EXPECT_EQ(window.count(), static_cast<std::int32_t>(c.left.size()));
  EXPECT_EQ(window.selected(), c.selected_after);
  EXPECT_EQ(window.info_text(), c.info_after);
  EXPECT_TRUE(window.unsaved_changes());
  EXPECT_TRUE(desktop.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordListDelete,
    ::testing::Values(
        DeleteCase{"middle", kThreeEntries, 1, {u"one", u"three"}, 1, u"third"},
        DeleteCase{"last", kThreeEntries, 2, {u"one", u"two"}, 1, u"second"},
        DeleteCase{"first", kThreeEntries, 0, {u"two", u"three"}, 0, u"second"},
        // The label keeps the deleted entry's description: nothing is selected.
        DeleteCase{"only", "1\r\n\"solo\"\r\n\"alone\"\r\n", 0, {}, -1, u"alone"}),
    [](const ::testing::TestParamInfo<DeleteCase>& param_info) { return param_info.param.name; });

TEST_F(PasswordListWindowTest, DeleteWithNothingSelectedDoesNothing) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.delete_selected();
  EXPECT_EQ(window.lines().size(), 3u);
  EXPECT_FALSE(window.unsaved_changes());
}

TEST_F(PasswordListWindowTest, SaveButtonWithoutChangesAsksAndWritesNothing) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.save();
  window.unload();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.files[kPath], kThreeEntries);
}

TEST_F(PasswordListWindowTest, SaveButtonYesWritesTheWholeList) {
  open_editor();
  desktop.prompt_answers = {u16("日本"), u"", u"b", u"c"};
  window.add();
  window.add();
  desktop.box_answers = {Answer::yes};
  window.save();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, texts::kSaveQuestion);
  EXPECT_EQ(desktop.boxes[0].buttons, Buttons::yes_no);
  EXPECT_EQ(desktop.boxes[0].icon, Icon::none);
  EXPECT_EQ(desktop.files[kPath], "2\r\n\"\x93\xFA\x96\x7B\"\r\n\"\"\r\n\"b\"\r\n\"c\"\r\n");
  EXPECT_FALSE(window.unsaved_changes());
  EXPECT_FALSE(window.closed());
  window.unload();
  EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(PasswordListWindowTest, SaveButtonNoWritesNothingAndClosingThenAsksNothing) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.on_list_click(0);
  window.delete_selected();
  desktop.box_answers = {Answer::no};
  window.save();
  EXPECT_FALSE(window.unsaved_changes());
  window.unload();
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.files[kPath], kThreeEntries);
}

TEST_F(PasswordListWindowTest, ClosingAfterChangesAsksOnceEitherAnswerCloses) {
  for (Answer answer : {Answer::yes, Answer::no}) {
    FakeDesktop desk;
    desk.files[kPath] = kThreeEntries;
    Busy b;
    PasswordListForm win(PasswordListMode::editor, b, desk);
    win.load();
    win.on_list_click(2);
    win.delete_selected();
    desk.box_answers = {answer};
    win.unload();
    win.unload();  // a second close does nothing more
    EXPECT_TRUE(win.closed());
    EXPECT_EQ(desk.box_texts(), Lines{std::u16string(texts::kSaveQuestion)});
    EXPECT_EQ(desk.files[kPath], answer == Answer::yes
                                     ? "2\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n\"second\"\r\n"
                                     : kThreeEntries);
    EXPECT_TRUE(b.idle());
  }
}

TEST_F(PasswordListWindowTest, FailedSaveKeepsTheOldFileSaysSoAndKeepsTheChange) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.on_list_click(0);
  window.delete_selected();
  desktop.file_writes_fail = true;
  desktop.box_answers = {Answer::yes};
  window.save();
  EXPECT_EQ(desktop.files[kPath], kThreeEntries);
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.boxes[1].text, texts::kSaveFailed);
  EXPECT_EQ(desktop.boxes[1].icon, Icon::critical);
  EXPECT_TRUE(window.unsaved_changes());

  // The user can try again once the file can be written.
  desktop.file_writes_fail = false;
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.files[kPath], "2\r\n\"two\"\r\n\"second\"\r\n\"three\"\r\n\"third\"\r\n");
}

TEST_F(PasswordListWindowTest, UnreadableFileIsReported) {
  desktop.files[kPath] = kThreeEntries;
  desktop.unreadable_files.insert(kPath);
  open_editor();
  EXPECT_EQ(desktop.box_texts(), Lines{std::u16string(texts::kReadFailed)});
  EXPECT_TRUE(window.lines().empty());
}

// A file held open by another program, and one sealed for another Windows
// user (the data protection cannot tell another account's from a damaged
// one): each said once, and the window closes without writing it.
TEST_F(PasswordListWindowTest, AFileThatCannotBeReadIsNeverWrittenWhateverTheUserDoes) {
  FakeDesktop sealer;
  sealer.windows_user = u"hanako";
  sealer.files[kPath] = kThreeEntries;
  ASSERT_EQ(rewrite_password_file(sealer, PasswordFileForm::sealed), ListRewrite::done);
  const struct {
    const char* name;
    std::string file;
    bool held_open;
    std::u16string_view message;
  } cases[] = {
      {"held open", kThreeEntries, true, texts::kReadFailed},
      {"sealed for another user", sealer.files[kPath], false, texts::kSealedUnreadable},
  };
  for (const auto& c : cases) {
    for (const PasswordListMode mode : {PasswordListMode::editor, PasswordListMode::chooser}) {
      SCOPED_TRACE(c.name);
      FakeDesktop desk;
      desk.files[kPath] = c.file;
      if (c.held_open) desk.unreadable_files.insert(kPath);
      desk.prompt_answers = {u"new", u"entry"};
      Busy b;
      PasswordListForm win(mode, b, desk);
      win.load();
      // The window closes with the message: nothing else is shown, not even
      // the chooser's empty-list message.
      EXPECT_EQ(desk.box_texts(), Lines{std::u16string(c.message)});
      EXPECT_EQ(desk.boxes[0].icon, Icon::exclamation);
      EXPECT_TRUE(win.closed());
      EXPECT_TRUE(b.idle());
      EXPECT_FALSE(win.take_pick());

      win.add();
      win.on_list_click(0);
      win.delete_selected();
      win.save();
      win.unload();
      EXPECT_TRUE(desk.prompts.empty());
      EXPECT_EQ(desk.boxes.size(), 1u);
      EXPECT_TRUE(desk.file_writes.empty());
      EXPECT_EQ(desk.files[kPath], c.file);
    }
  }
}

// A sealed file whose list is damaged is handled as a plain one is: said
// as the window opens, and kept as it is on disk, sealed, as
// quiren.pas.bak before the first save over it.
TEST_F(PasswordListWindowTest, ADamagedSealedListKeepsItsSealedFileAsTheBackup) {
  desktop.files[kPath] = "2\r\n\"one\"\r\n\"first\"\r\nstray\r\n";
  ASSERT_EQ(rewrite_password_file(desktop, PasswordFileForm::sealed), ListRewrite::done);
  const std::string sealed = desktop.files[kPath];
  desktop.settings[u"protectpasswords"] = u"True";
  open_editor();
  EXPECT_EQ(window.source(), PasswordFileSource::damaged);
  EXPECT_EQ(desktop.box_texts(), Lines{texts::damaged_list(1, true)});
  window.on_list_click(0);
  window.delete_selected();
  desktop.box_answers = {Answer::yes};
  window.save();
  EXPECT_EQ(desktop.files[kBackupPath], sealed);
  EXPECT_TRUE(is_protected_list_file(desktop.files[kPath]));
  EXPECT_FALSE(window.unsaved_changes());
}

// Read in either form, saved in the one the settings ask for now; the
// chooser picks from a sealed list as from a plain one.
TEST_F(PasswordListWindowTest, SavesInTheFormTheSettingsAskFor) {
  desktop.files[kPath] = kThreeEntries;
  for (const bool sealed : {true, false, true}) {
    SCOPED_TRACE(sealed);
    desktop.settings[u"protectpasswords"] = sealed ? u"True" : u"False";
    Busy b;
    PasswordListForm win(PasswordListMode::editor, b, desktop);
    win.load();
    desktop.prompt_answers = {u"added", u""};
    win.add();
    desktop.box_answers = {Answer::yes};
    win.unload();
    EXPECT_EQ(is_protected_list_file(desktop.files[kPath]), sealed);
  }
  PasswordListForm& picker = open_chooser();
  EXPECT_EQ(picker.passwords().size(), 6u);
  picker.on_list_double_click(1);
  EXPECT_EQ(picker.take_pick(), std::optional<std::u16string>(u"two"));

  desktop.protection_fails = true;
  Busy b;
  PasswordListForm win(PasswordListMode::editor, b, desktop);
  desktop.protection_fails = false;
  win.load();
  desktop.protection_fails = true;
  win.on_list_click(0);
  win.delete_selected();
  const std::string before = desktop.files[kPath];
  desktop.box_answers = {Answer::yes};
  win.save();
  EXPECT_EQ(desktop.box_texts().back(), texts::kNotSealed);
  EXPECT_EQ(desktop.files[kPath], before) << "never written plain in its stead";
  EXPECT_TRUE(win.unsaved_changes());
}


struct DamagedCase {
  const char* name;
  std::string file;
  Lines shown;
};

class PasswordListDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(PasswordListDamaged, SaysSoOnceAndKeepsTheOriginalBeforeTheFirstSave) {
  const DamagedCase& c = GetParam();
  FakeDesktop desktop;
  desktop.files[kPath] = c.file;
  Busy busy;
  PasswordListForm window(PasswordListMode::editor, busy, desktop);
  window.load();
  EXPECT_EQ(plain(window.passwords()), c.shown);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text,
            texts::damaged_list(static_cast<std::int32_t>(c.shown.size()), /*editor=*/true));
  EXPECT_EQ(desktop.boxes[0].icon, Icon::exclamation);
  const std::u16string number(1, static_cast<char16_t>(u'0' + c.shown.size()));  // fewer than ten
  EXPECT_NE(desktop.boxes[0].text.find(u"読み込めた " + number + u" 件"), std::u16string::npos);

  // The first save keeps the original, then writes exactly what is listed.
  desktop.prompt_answers = {u"added", u"new"};
  window.add();
  desktop.box_answers = {Answer::yes};
  window.save();
  EXPECT_EQ(desktop.file_writes, (Lines{kBackupPath, kPath}));
  EXPECT_EQ(desktop.files[kBackupPath], c.file);
  PasswordEntries listed{testing::secrets(plain(window.passwords())), window.descriptions()};
  EXPECT_EQ(desktop.files[kPath], format_password_file(listed, desktop).view());
  EXPECT_EQ(window.passwords().back(), std::u16string_view(u"added"));

  // A later save leaves the kept original alone.
  window.on_list_click(0);
  window.delete_selected();
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.file_writes, (Lines{kBackupPath, kPath, kPath}));
  EXPECT_EQ(desktop.files[kBackupPath], c.file);
  EXPECT_EQ(desktop.box_texts().size(), 3u);  // the notice and two save questions
}

INSTANTIATE_TEST_SUITE_P(
    Files, PasswordListDamaged,
    ::testing::Values(
        DamagedCase{"missing_description",
                    "3\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n\"three\"\r\n\"third\"\r\n", {u"one", u"two"}},
        DamagedCase{"stray_quote",
                    "3\r\n\"one\"\r\n\"fi\"rst\"\r\n\"two\"\r\n\"second\"\r\n\"three\"\r\n\"third\"\r\n",
                    {u"two", u"three"}},
        DamagedCase{"count_line_disagrees", "5\r\n\"one\"\r\n\"first\"\r\n", {u"one"}},
        DamagedCase{"nothing_readable", "\"one\"\r\n", {}}),
    [](const ::testing::TestParamInfo<DamagedCase>& param_info) { return param_info.param.name; });

TEST_F(PasswordListWindowTest, DamagedFileIsNotSavedWhenItsOriginalCannotBeKept) {
  const std::string damaged = "2\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n";
  desktop.files[kPath] = damaged;
  desktop.files[kBackupPath] = "an original kept earlier";
  open_editor();
  window.on_list_click(0);
  window.delete_selected();
  desktop.box_answers = {Answer::yes};
  window.save();
  EXPECT_EQ(desktop.box_texts().back(), texts::kBackupTaken);
  EXPECT_EQ(desktop.boxes.back().icon, Icon::critical);
  EXPECT_EQ(desktop.files[kPath], damaged);
  EXPECT_EQ(desktop.files[kBackupPath], "an original kept earlier");
  EXPECT_TRUE(window.unsaved_changes());

  // The user moves the old backup away and saves again.
  desktop.files.erase(kBackupPath);
  desktop.box_answers = {Answer::yes};
  window.save();
  EXPECT_EQ(desktop.files[kBackupPath], damaged);
  EXPECT_EQ(desktop.files[kPath], "0\r\n");
}

TEST_F(PasswordListWindowTest, DamagedFileWhoseBackupCannotBeWrittenStaysAsItIs) {
  const std::string damaged = "2\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n";
  desktop.files[kPath] = damaged;
  desktop.file_writes_fail = true;
  open_editor();
  desktop.prompt_answers = {u"pw"};
  window.add();
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.box_texts().back(), texts::kBackupFailed);
  EXPECT_EQ(desktop.file_writes, Lines{kBackupPath});
  EXPECT_EQ(desktop.files[kPath], damaged);
}

TEST_F(PasswordListWindowTest, BackupFromAnEarlierOpeningOfTheSameFileIsEnough) {
  const std::string damaged = "2\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n";
  desktop.files[kPath] = damaged;
  desktop.files[kBackupPath] = damaged;
  open_editor();
  desktop.prompt_answers = {u"pw"};
  window.add();
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.files[kBackupPath], damaged);
  EXPECT_EQ(desktop.files[kPath], "2\r\n\"one\"\r\n\"first\"\r\n\"pw\"\r\n\"\"\r\n");
}

TEST_F(PasswordListWindowTest, HiddenOrSystemFileReadsAsNoneAndIsNeverReplaced) {
  desktop.files[kPath] = kThreeEntries;
  desktop.hidden_files.insert(kPath);
  open_editor();
  EXPECT_TRUE(window.lines().empty());
  EXPECT_TRUE(desktop.boxes.empty());
  desktop.prompt_answers = {u"pw", u"d"};
  window.add();
  desktop.box_answers = {Answer::yes};
  window.save();
  EXPECT_EQ(desktop.box_texts(),
            (Lines{std::u16string(texts::kSaveQuestion), std::u16string(texts::kNotPlainRefused)}));
  EXPECT_EQ(desktop.boxes[1].icon, Icon::critical);
  EXPECT_TRUE(window.unsaved_changes());
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.box_texts().back(), texts::kNotPlainRefused);
  EXPECT_TRUE(desktop.file_writes.empty());
  EXPECT_EQ(desktop.files[kPath], kThreeEntries);
}

TEST_F(PasswordListWindowTest, ChooserOverADamagedFileSaysSoAndWritesNothing) {
  desktop.files[kPath] = "3\r\n\"one\"\r\n\"first\"\r\n\"two\"\r\n\"three\"\r\n\"third\"\r\n";
  open_chooser();
  EXPECT_EQ(desktop.box_texts(), Lines{texts::damaged_list(2, /*editor=*/false)});
  chooser.on_list_double_click(1);
  EXPECT_EQ(chooser.take_pick(), std::u16string_view(u"two"));
  EXPECT_TRUE(desktop.file_writes.empty());
}

TEST_F(PasswordListWindowTest, ClosingWipesThePasswordsHeld) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.unload();
  EXPECT_EQ(plain(window.passwords()), (Lines{u"", u"", u""}));
  EXPECT_EQ(plain(window.lines()), (Lines{u"", u"", u""}));
  EXPECT_EQ(window.descriptions(), (Lines{u"first", u"second", u"third"}));
}

TEST_F(PasswordListWindowTest, ChoosersPickIsHandedOverOnce) {
  desktop.files[kPath] = kThreeEntries;
  open_chooser();
  chooser.on_list_double_click(1);
  EXPECT_EQ(chooser.take_pick(), std::u16string_view(u"two"));
  EXPECT_FALSE(chooser.take_pick());
}

TEST_F(PasswordListWindowTest, ChooserOpensWithoutButtonsAndShorter) {
  desktop.files[kPath] = kThreeEntries;
  open_chooser();
  EXPECT_EQ(chooser.caption(), texts::kChooserCaption);
  EXPECT_FALSE(chooser.buttons_enabled());
  EXPECT_EQ(chooser.client_height_twips(), passlist::layout::kChooserClientHeight);
  EXPECT_EQ(chooser.lines().size(), 3u);
  EXPECT_EQ(chooser.selected(), -1);
  // Nothing can be added, deleted or saved.
  desktop.prompt_answers = {u"x", u"y"};
  chooser.on_list_click(0);
  chooser.add();
  chooser.delete_selected();
  chooser.save();
  chooser.unload();
  EXPECT_EQ(chooser.lines().size(), 3u);
  EXPECT_TRUE(desktop.prompts.empty());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.files[kPath], kThreeEntries);
  EXPECT_FALSE(chooser.take_pick());
}

TEST_F(PasswordListWindowTest, ChooserOverAnEmptyListSaysSoAndCloses) {
  for (const char* file : {static_cast<const char*>(nullptr), "", "0\r\n", "x\r\n\"a\"\r\n"}) {
    FakeDesktop desk;
    if (file) desk.files[kPath] = file;
    Busy b;
    PasswordListForm win(PasswordListMode::chooser, b, desk);
    win.load();
    ASSERT_EQ(desk.boxes.size(), 1u);
    EXPECT_EQ(desk.boxes[0].text, texts::kEmptyList);
    EXPECT_EQ(desk.boxes[0].icon, Icon::information);
    EXPECT_TRUE(win.closed());
    EXPECT_FALSE(win.take_pick());
    EXPECT_TRUE(b.idle());
    if (!file) {
      EXPECT_FALSE(desk.files.count(kPath));
    }
  }
}

TEST_F(PasswordListWindowTest, ChooserPicksByEnterAndDoubleClickOnly) {
  desktop.files[kPath] = kThreeEntries;
  open_chooser();
  // An Enter released as the window opens, with no line selected.
  chooser.on_list_key_up(PasswordListForm::kEnterKey, -1);
  EXPECT_FALSE(chooser.closed());
  // An arrow key moves the selection: the description follows, no pick.
  chooser.on_list_key_up(40, 1);
  EXPECT_EQ(chooser.info_text(), u"second");
  EXPECT_FALSE(chooser.closed());
  chooser.on_list_key_up(PasswordListForm::kEnterKey, 1);
  EXPECT_TRUE(chooser.closed());
  EXPECT_EQ(chooser.take_pick(), std::u16string_view(u"two"));
  EXPECT_TRUE(busy.idle());

  PasswordListForm win(PasswordListMode::chooser, busy, desktop);
  win.load();
  win.on_list_double_click(2);
  EXPECT_TRUE(win.closed());
  EXPECT_EQ(win.take_pick(), std::u16string_view(u"three"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(PasswordListWindowTest, ChooserCloseBoxLeavesSelectpassEmpty) {
  desktop.files[kPath] = kThreeEntries;
  open_chooser();
  chooser.on_list_click(0);
  chooser.unload();
  EXPECT_FALSE(chooser.take_pick());
  EXPECT_TRUE(busy.idle());
}

TEST_F(PasswordListWindowTest, EditorEnterAndDoubleClickOnlyShowTheDescription) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.on_list_key_up(PasswordListForm::kEnterKey, 2);
  window.on_list_double_click(0);
  window.on_list_key_up(46, 0);  // Delete deletes nothing
  EXPECT_FALSE(window.closed());
  EXPECT_EQ(window.info_text(), u"first");
  EXPECT_EQ(window.lines().size(), 3u);
  EXPECT_FALSE(window.take_pick());
}

TEST_F(PasswordListWindowTest, ChooserBesideTheEditorLeavesBothWorking) {
  desktop.files[kPath] = kThreeEntries;
  open_editor();
  window.on_list_click(0);
  window.delete_selected();

  // A flow opens a chooser over the file as saved while the editor is open.
  open_chooser();
  EXPECT_EQ(plain(chooser.passwords()), (Lines{u"one", u"two", u"three"}));
  // Closing the editor meanwhile leaves the chooser one; it still picks.
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.box_texts(), Lines{std::u16string(texts::kSaveQuestion)});
  EXPECT_EQ(desktop.files[kPath], "2\r\n\"two\"\r\n\"second\"\r\n\"three\"\r\n\"third\"\r\n");
  EXPECT_FALSE(busy.idle()) << "the chooser is still open";
  chooser.on_list_double_click(0);
  EXPECT_TRUE(chooser.closed());
  EXPECT_EQ(chooser.take_pick(), std::u16string_view(u"one"));
  EXPECT_TRUE(busy.idle());
}

TEST_F(PasswordListWindowTest, EditorClosingDuringAChooserStillAsksToSave) {
  open_editor();
  desktop.prompt_answers = {u"pw"};
  window.add();
  open_chooser();
  desktop.box_answers = {Answer::yes};
  window.unload();
  EXPECT_EQ(desktop.files[kPath], "1\r\n\"pw\"\r\n\"\"\r\n");
}

TEST(PasswordListLayout, ControlsAreInTabOrderWithDistinctIds) {
  const auto& controls = passlist::layout::kControls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i].tab, static_cast<int>(i));
    for (std::size_t j = i + 1; j < controls.size(); ++j) EXPECT_NE(controls[i].id, controls[j].id);
    EXPECT_LE(controls[i].rect.left + controls[i].rect.width, passlist::layout::kClientWidth);
    EXPECT_LE(controls[i].rect.top + controls[i].rect.height, passlist::layout::kClientHeight);
  }
}

}  // namespace
}  // namespace quiren
