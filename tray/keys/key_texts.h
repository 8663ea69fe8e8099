// Every text of the user's key, the contacts window and the offer for a
// key block.
#pragma once

#include <string_view>

namespace quiren::keys::texts {

// At start, when there is no key this run.
inline constexpr std::u16string_view kKeyUnreadable =
    u"保存されている自分の鍵を読み出せませんでした（別のユーザーや別のパソコンで保存された鍵は読めません）。"
    u"鍵を使う機能は使えません。保存されている鍵はそのまま残します。";
inline constexpr std::u16string_view kKeyNotMade =
    u"自分の鍵を作成できませんでした。鍵を使う機能は使えません。次回の起動時にもう一度作成します。";
// A copy run from a USB stick, its key in the file beside the program.
inline constexpr std::u16string_view kAskKeyFilePassphrase =
    u"プログラムのフォルダーにある自分の鍵のパスワードを入力して下さい。";
inline constexpr std::u16string_view kKeyFileWrongPassphrase = u"パスワードが違います。もう一度入力して下さい。";
inline constexpr std::u16string_view kKeyLocked =
    u"鍵のパスワードが入力されなかったため、自分の鍵なしで動きます。鍵を使う機能は、次に起動したときに"
    u"パスワードを入力するまで使えません。";

// The offer for a key block found on the clipboard.
inline constexpr std::u16string_view kOfferTitle = u"鍵を宛先に追加";
inline constexpr std::u16string_view kAskOffer = u"クリップボードに鍵があります。宛先に追加しますか？";
inline constexpr std::u16string_view kOfferName = u"名前:";
inline constexpr std::u16string_view kOfferDigits = u"安全番号:";
inline constexpr std::u16string_view kOfferAdvice =
    u"この番号を、鍵の持ち主と電話か直接会って読み上げて比べて下さい。"
    u"メールやチャットで比べても、鍵がすり替えられていれば番号もすり替えられています。";
inline constexpr std::u16string_view kOfferConfirmed = u"数字を確認した";
inline constexpr std::u16string_view kOfferAdd = u"追加";
inline constexpr std::u16string_view kOfferReplace = u"置き換える";
// {name}: the contact whose key differs.
inline constexpr std::u16string_view kOfferKeyChanged =
    u"注意: 「{name}」の鍵が、登録されている鍵と違います。本人が鍵を作り直したことを確かめてから置き換えて下さい。";
// {name}: the contact holding the same key.
inline constexpr std::u16string_view kKeyAlreadyHeld = u"この鍵は「{name}」としてすでに登録されています。";
inline constexpr std::u16string_view kOwnKeyBlock = u"これはあなた自身の鍵です。";
inline constexpr std::u16string_view kNameUnusable =
    u"名前を入力して下さい（64バイトまで。制御文字や文字の向きを変える文字は使えません）。";
// {name}: a name another contact already has.
inline constexpr std::u16string_view kNameTaken = u"「{name}」という宛先はすでにあります。別の名前にして下さい。";
inline constexpr std::u16string_view kDigitsFailed = u"安全番号を計算できませんでした。";

// The contacts window "鍵と宛先".
inline constexpr std::u16string_view kContactsTitle = u"鍵と宛先";
inline constexpr std::u16string_view kMyKeyHeading = u"自分の鍵";
inline constexpr std::u16string_view kNoKey = u"（このパソコンでは自分の鍵を使えません）";
inline constexpr std::u16string_view kCopyMyKey = u"自分の鍵をコピー";
inline constexpr std::u16string_view kRenameMe = u"名前を変更";
inline constexpr std::u16string_view kContactsHeading = u"宛先（名前・安全番号・確認）";
inline constexpr std::u16string_view kRename = u"名前を変更";
inline constexpr std::u16string_view kRemove = u"削除";
inline constexpr std::u16string_view kConfirm = u"確認済みにする";
inline constexpr std::u16string_view kExportKey = u"鍵を書き出す";
inline constexpr std::u16string_view kImportKey = u"鍵を読み込む";
inline constexpr std::u16string_view kClose = u"閉じる";
// A contact's line: name, digits, and whether they were compared.
inline constexpr std::u16string_view kConfirmedMark = u"確認済み";
inline constexpr std::u16string_view kUnconfirmedMark = u"未確認";
inline constexpr std::u16string_view kMyKeyCopied =
    u"自分の鍵をクリップボードにコピーしました。メールなどに貼り付けて相手に送って下さい。";
inline constexpr std::u16string_view kClipboardBusy =
    u"クリップボードに書き込めませんでした。しばらくしてからもう一度お試し下さい。";
inline constexpr std::u16string_view kNoKeyToUse = u"自分の鍵がないため、この操作はできません。";
inline constexpr std::u16string_view kAskNewName = u"新しい名前を入力して下さい。";
// {name}: the contact.
inline constexpr std::u16string_view kAskRemove = u"「{name}」を宛先から削除しますか？";
// {name}, {digits}: the contact and its safety digits.
inline constexpr std::u16string_view kAskConfirm =
    u"「{name}」の安全番号\r\n{digits}\r\nを、本人と電話か直接会って比べ、一致しましたか？";
inline constexpr std::u16string_view kSelectContact = u"宛先を選んで下さい。";

// Moving the key: "鍵を書き出す" and "鍵を読み込む".
inline constexpr std::u16string_view kExportTitle = u"鍵を書き出す";
inline constexpr std::u16string_view kExportFileName = u"mu-quiren-key.txt";
inline constexpr std::u16string_view kAskExportPassphrase =
    u"書き出す鍵を守るパスワードを入力して下さい。読み込むときに必要です。";
inline constexpr std::u16string_view kAskReplaceFile = u"そのファイルはすでにあります。置き換えますか？";
inline constexpr std::u16string_view kExportFailed = u"鍵をファイルに書き出せませんでした。";
inline constexpr std::u16string_view kKeyExported =
    u"鍵を書き出しました。別のパソコンでは「鍵を読み込む」で、このパスワードとともに読み込めます。";
inline constexpr std::u16string_view kImportTitle = u"鍵を読み込む";
inline constexpr std::u16string_view kAskImportFromClipboard =
    u"クリップボードにある鍵を読み込みますか？\r\n（「いいえ」でファイルを選びます）";
inline constexpr std::u16string_view kFileUnreadable = u"ファイルを読み込めませんでした。";
inline constexpr std::u16string_view kNotAKeyFile = u"書き出された鍵が見つかりませんでした。";
inline constexpr std::u16string_view kKeyFileTooLarge = u"書き出された鍵のファイルとしては大きすぎます（1 MB まで）。";
inline constexpr std::u16string_view kSealedKeyUnreadable =
    u"書き出された鍵が壊れているか、このバージョンでは読めない形式です。";
inline constexpr std::u16string_view kAskImportPassphrase = u"鍵を書き出したときのパスワードを入力して下さい。";
inline constexpr std::u16string_view kImportWrongPassphrase =
    u"パスワードが違うか、書き出された鍵が途中で変更されています。";
inline constexpr std::u16string_view kImportSameKey = u"これはすでにあなたの鍵です。";
inline constexpr std::u16string_view kAskReplaceMyKey =
    u"今の自分の鍵を、読み込んだ鍵で置き換えますか？\r\n"
    u"今の鍵あてに送られた暗号文は、今の鍵を書き出しておかない限り読めなくなります。";
inline constexpr std::u16string_view kImportFailed = u"読み込んだ鍵を保存できませんでした。今の鍵はそのままです。";
inline constexpr std::u16string_view kKeyImported = u"鍵を読み込みました。";

// "USB メモリで使う": the key kept in a file beside the program.
inline constexpr std::u16string_view kKeepBesideProgram = u"USB メモリで使う";
inline constexpr std::u16string_view kAskKeepBesideProgram =
    u"自分の鍵を、パスワードで暗号化してプログラムと同じフォルダーのファイル mu-quiren-key.txt に置きます。"
    u"USB メモリなどに入れたこのプログラムは、どのパソコンでも、起動するときにパスワードを尋ねてこの鍵を使います。"
    u"よろしいですか？";
inline constexpr std::u16string_view kAskKeyFilePassphraseNew =
    u"プログラムのフォルダーに置く鍵を守るパスワードを入力して下さい。起動するたびに必要です。";
inline constexpr std::u16string_view kKeyFileExists =
    u"プログラムのフォルダーにすでに mu-quiren-key.txt があります。置き換えません。";
inline constexpr std::u16string_view kKeyFileNotWritten = u"プログラムのフォルダーに鍵を書き込めませんでした。";
inline constexpr std::u16string_view kKeyBesideProgram =
    u"鍵をプログラムのフォルダーに置きました。次からはこのフォルダーのプログラムを起動するとパスワードを尋ねます。";
inline constexpr std::u16string_view kAlreadyBesideProgram =
    u"このプログラムは、すでに自分の鍵をプログラムのフォルダーに置いています。";

}  // namespace quiren::keys::texts
