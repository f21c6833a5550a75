#include "output/messages.h"

#include "output/copy_errors.h"
#include "store/store_errors.h"

namespace {

constexpr int P = kErrorPlain;
constexpr int F = kErrorFatal;

const std::vector<Message> kMessages = {
    {kMsgAlreadyRunning, P, kWhenAnything, 0, "コピウェルは起動されています"},
    {kMsgHelpMissing, P, kWhenAnything, 0, "ヘルプファイル (kopiwell.html) を開けません"},
    {kMsgHotkeyTaken, P, kWhenAnything, 0,
     "ホットキー %1 はほかのプログラムが使っています。［設定］で別のキーを選んでください。"},
    {kMsgSignInLinkNotMade, P, kWhenAnything, 0,
     "スタートアップ フォルダーにショートカット (コピウェル.lnk) を作れなかったため、"
     "サインイン時には起動しません。\nほかの設定は変更しました。"},
    {kMsgSignInLinkNotRemoved, P, kWhenAnything, 0,
     "スタートアップ フォルダーのショートカット (コピウェル.lnk) を削除できなかったため、"
     "サインイン時の起動は止まっていません。\nほかの設定は変更しました。"},
    {kMsgNotPasted, P, kWhenAnything, 0,
     "貼り付け先のウィンドウが閉じられたか、前面に出せなかったため、貼り付けませんでした。\n"
     "選んだ文章はクリップボードにあります。"},
    {kMsgNotPastedElevated, P, kWhenAnything, 0,
     "管理者として実行中のプログラムには貼り付けられません。テキストはクリップボードにあります。"
     "Ctrl+V で貼り付けてください。"},

    // Nothing is wrong with the file: the program just cannot hold it.
    {kMsgOpenNoMemory, P, kWhenOpening, kErrOpenNoMemory,
     "履歴が大きすぎてメモリーに読み込めないため、コピウェルを終了します。\n"
     "履歴ファイル (clip.dat) はそのまま残してあります。"},
    {kMsgOpenWork, F, kWhenOpening, kErrOpenWork, "WndProc:データファイルを開けません"},
    {kMsgOpenNoData, F, kWhenOpening, kErrOpenNoData, "WndProc:データファイルが存在しません"},
    {kMsgOpenOther, F, kWhenAnything, 0, "WndProc:ファイルオープン時にエラー発生 %1"},
    {kMsgStartDeleteFailed, F, kWhenAnything, 0, "WndProc:起動時削除の失敗"},
    {kMsgDataCreate, F, kWhenAnything, 0, "WndProc:データファイルを作成できません"},
    {kMsgCloseFailed, F, kWhenAnything, 0, "WndProc:履歴ファイルのクローズ・保存に失敗(D)"},
    {kMsgCloseFailedAtSessionEnd, F, kWhenAnything, 0,
     "WndProc:履歴ファイルのクローズ・保存に失敗(Q)"},
    {kMsgKeptLeftover, P, kWhenAnything, 0,
     "前回の終了時に保存されなかった履歴の作業ファイルは、今の履歴ファイル (clip.dat) "
     "の続きではなかったため、取り込まずに %1 として残しました。\n中には %2 件の文章があります。"},
    {kMsgLeftoverUnreadable, P, kWhenAnything, 0,
     "前回の終了時に保存されなかった履歴の作業ファイルを読み取れなかったため、取り込まずに "
     "%1 として残しました。\n履歴ファイル (clip.dat) はそのままです。"},
    {kMsgLeftoverUnreadableNotKept, P, kWhenAnything, 0,
     "前回の終了時に保存されなかった履歴の作業ファイル (clipwork.dat) を読み取れなかったため、"
     "取り込みませんでした。\n履歴ファイル (clip.dat) はそのままです。"},
    {kMsgStartDeleteSkipped, P, kWhenAnything, 0,
     "バックアップ (clipdat.bak) を作れなかったため、起動時の履歴削除は行いませんでした。\n"
     "履歴はそのまま残っています。"},
    {kMsgDamagedCopyKept, P, kWhenAnything, 0,
     "履歴ファイル (clip.dat) の一部が壊れていたため、読み取れた履歴だけを読み込みました。\n"
     "元のファイルは %1 として残してあります。"},
    {kMsgDamagedNoCopy, P, kWhenAnything, 0,
     "履歴ファイル (clip.dat) の一部が壊れていたため、読み取れた履歴だけを読み込みました。\n"
     "元のファイルの控えは作れませんでした。"},
    {kMsgPhrasesNotOpened, P, kWhenAnything, 0,
     "定型文ファイル (phrase.dat) を開けなかったため、定型文は使えません。\n"
     "履歴はいつもどおり使えます。"},
    {kMsgPhrasesNotSaved, P, kWhenAnything, 0,
     "定型文ファイル (phrase.dat) を保存できませんでした。元のファイルはそのままです。\n"
     "作業ファイル (phrasework.dat) に残した定型文は、次の起動時に取り込みます。"},
    {kMsgPhrasesLeftoverKept, P, kWhenAnything, 0,
     "前回の終了時に保存されなかった定型文の作業ファイルは、今の定型文ファイル (phrase.dat) "
     "の続きではないか読み取れなかったため、取り込まずに %1 として残しました。"},
    {kMsgPhrasesDamaged, P, kWhenAnything, 0,
     "定型文ファイル (phrase.dat) の一部が壊れていたため、読み取れた定型文だけを読み込みました。\n"
     "元のファイルは %1 として残してあります。"},
    {kMsgPhrasesDamagedNoCopy, P, kWhenAnything, 0,
     "定型文ファイル (phrase.dat) の一部が壊れていたため、読み取れた定型文だけを読み込みました。\n"
     "元のファイルの控えは作れませんでした。"},
    {kMsgPhrasesNotAdded, P, kWhenAnything, 0,
     "定型文ファイル (phrasework.dat) に書き込めなかったため、定型文に登録できませんでした。\n"
     "ディスクの空き容量を確かめてください。"},

    {kMsgNoBackup, P, kWhenAnything, 0, "バックアップファイルがありません"},
    {kMsgBackupUnreadable, P, kWhenAnything, 0,
     "バックアップファイル (clipdat.bak) を読み込めなかったため、復元できませんでした。\n"
     "今の履歴はそのまま残っています。"},
    {kMsgRestoreFailed, F, kWhenAnything, 0, "WndProc:restore にてエラー発生"},
    {kMsgClearFailed, F, kWhenAnything, 0, "ClearClip : 履歴クリアでエラー発生"},

    {kMsgWriteFailed, P, kWhenAnything, 0,
     "履歴ファイル (clipwork.dat) に書き込めませんでした。\n"
     "ディスクの空き容量を確かめてください。書き込めなかったコピーは記録されていません。"},
    {kMsgWorkingFileFull, P, kWhenAnything, 0,
     "履歴ファイル (clipwork.dat) が 2GB の上限に達したため、これからのコピーは記録されません。\n"
     "不要な履歴を削除してから「さよなら」で終了し、起動し直すと、"
     "削除した分だけ履歴ファイルが小さくなります。"},
    {kMsgNoMemory, P, kWhenAnything, 0,
     "メモリーが足りないため、操作を取りやめました。履歴は操作の前のままです。\n"
     "ほかのプログラムを終了してから、もう一度お試しください。"},
    {kMsgCaptureFailed, P, kWhenAnything, 0,
     "コピーを履歴に記録できませんでした (%1)。これからのコピーも記録されないことがあります。\n"
     "「さよなら」で終了してから、起動し直してください。"},
    {kMsgInsertNoRow, F, kWhenAnything, 0, "InsertClip:リストに追加中にエラー発生"},
    {kMsgInsertFailed, F, kWhenAnything, 0, "InsertClip:エラーが発生しました"},

    {kMsgCopyNoSelection, P, kWhenCopying, kListErrNoSelection, "データが選択されていません"},
    {kMsgCopySelNoRoom, P, kWhenCopying, kListErrSelNoRoom, "自動改行位置を大きくして下さい"},
    {kMsgCopyNoRoom, P, kWhenCopying, kListErrNoRoom, "自動改行位置を大きくして下さい"},
    {kMsgCopyClipboardBusy, P, kWhenCopying, kListErrClipboardBusy,
     "クリップボードを開けませんでした。ほかのプログラムが使用中です。\n"
     "少し待ってから、もう一度お試しください。"},
    {kMsgCopyNoMemory, P, kWhenCopying, kListErrNoMemory,
     "メモリが足りないため、コピーできませんでした。"},

    {kMsgEditFileFull, P, kWhenStoringEdit, kErrWorkingFileFull,
     "履歴ファイル (clipwork.dat) が 2GB の上限に達しているため、変更を保存できませんでした。\n"
     "入力した文章はそのまま残してあります。"},
    {kMsgEditWriteFailed, P, kWhenStoringEdit, kErrAppendWrite,
     "履歴ファイル (clipwork.dat) に書き込めなかったため、変更を保存できませんでした。\n"
     "ディスクの空き容量を確かめてください。入力した文章はそのまま残してあります。"},
    {kMsgEditEntryGone, P, kWhenAnything, 0,
     "この項目は一覧にもうないため、変更を保存できませんでした。\n"
     "入力した文章はそのまま残してあります。"},
    {kMsgEditFailed, F, kWhenAnything, 0, "ViewerDlgProc:tdb_modify でエラー発生"},
};

}  // namespace

const std::vector<Message>& Messages() { return kMessages; }

const Message& MessageOf(MessageId id) {
  for (const Message& m : kMessages)
    if (m.id == id) return m;
  return kMessages.front();  // every id has its row; the native test sees to it
}

const Message* MessageFor(Situation when, int code) {
  for (const Message& m : kMessages)
    if (m.when == when && m.code == code && code != 0) return &m;
  return nullptr;
}

std::string MessageText(const Message& message, const std::vector<std::string>& args) {
  std::string text;
  for (const char* p = message.text; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
      const size_t n = static_cast<size_t>(p[1] - '1');
      if (n < args.size()) text += args[n];
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}
