// The key windows' classes and control IDs: the contract with the
// end-to-end driver, which finds the windows and their controls by these.
#pragma once

namespace quiren::win32 {

// The offer for a key block on the clipboard.
inline constexpr wchar_t kKeyOfferClass[] = L"MuQuirenKeyOffer";
inline constexpr int kOfferNameLabelId = 200;
inline constexpr int kOfferNameEditId = 201;
inline constexpr int kOfferDigitsLabelId = 202;
inline constexpr int kOfferDigitsId = 203;
inline constexpr int kOfferAdviceId = 204;
inline constexpr int kOfferWarningId = 205;
inline constexpr int kOfferConfirmedId = 206;
inline constexpr int kOfferAcceptId = 1;  // IDOK
inline constexpr int kOfferCancelId = 2;  // IDCANCEL

// The contacts window "鍵と宛先".
inline constexpr wchar_t kContactsClass[] = L"MuQuirenContacts";
inline constexpr int kContactsMyNameId = 300;    // "自分の鍵: <name>"
inline constexpr int kContactsMyDigitsId = 301;
inline constexpr int kContactsCopyId = 302;      // "自分の鍵をコピー"
inline constexpr int kContactsRenameMeId = 303;
inline constexpr int kContactsExportId = 304;    // "鍵を書き出す"
inline constexpr int kContactsImportId = 305;    // "鍵を読み込む"
inline constexpr int kContactsHeadingId = 306;
inline constexpr int kContactsListId = 307;      // one line per contact: name, digits, mark
inline constexpr int kContactsRenameId = 308;
inline constexpr int kContactsRemoveId = 309;
inline constexpr int kContactsConfirmId = 310;   // "確認済みにする"
inline constexpr int kContactsBesideProgramId = 311;  // "USB メモリで使う"
inline constexpr int kContactsCloseId = 2;       // IDCANCEL: Escape closes too

}  // namespace quiren::win32
