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

}  // namespace quiren::win32
