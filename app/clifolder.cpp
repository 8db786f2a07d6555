// SPDX-License-Identifier: MIT
#include "app/clifolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>
#include <QTextStream>
#include <QThread>

#include <algorithm>

#include "catalogue/albumlock.h"
#include "catalogue/photolistupdate.h"

namespace CliFolder
{

namespace
{

QString tr(const char* text)
{
    return QCoreApplication::translate("Cli", text);
}

constexpr std::chrono::minutes DefaultLockWait{10};
constexpr std::chrono::milliseconds LockPoll{200};
// Names beyond this many are counted, not listed.
constexpr int ListedNames = 20;

QString named(const QStringList& names)
{
    if (names.size() > ListedNames)
        return names.mid(0, ListedNames).join(QStringLiteral(", ")) + tr(" ほか%1枚").arg(names.size() - ListedNames);
    return names.join(QStringLiteral(", "));
}

QString holder(const AlbumLock& lock)
{
    if (lock.heldByAnotherMachine())
        return tr("（マシン %1 のプロセス %2）").arg(lock.holderHost()).arg(lock.holderPid());
    if (lock.holderPid() > 0)
        return tr("（プロセス %1）").arg(lock.holderPid());
    return QString();
}

} // namespace

std::chrono::milliseconds lockWait()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("LUMIVERT_LOCK_WAIT", &ok);
    if (ok && seconds >= 0)
        return std::chrono::seconds(seconds);
    return DefaultLockWait;
}

bool lockAlbum(AlbumLock& lock, const QString& folder, QTextStream& err, std::chrono::milliseconds wait, bool quiet)
{
    AlbumLock::State state = lock.tryLock();
    if (state == AlbumLock::State::Busy) {
        if (!quiet) {
            // The window's own words for the same wait.
            err << tr("別のLumivertがこのアルバムを書き込んでいます。終わるのを待っています…") << holder(lock) << "\n";
            err.flush();
        }
        const QDeadlineTimer deadline(wait);
        while (state == AlbumLock::State::Busy && !deadline.hasExpired()) {
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(LockPoll.count(), deadline.remainingTime())));
            state = lock.tryLock();
        }
    }
    if (state == AlbumLock::State::Busy) {
        err << "lumivert-cli: "
            << tr("別のLumivert%1を%2秒待ちましたが，書き込みが終わらないのであきらめました。何も書き込んでいません。")
                   .arg(holder(lock))
                   .arg(std::chrono::duration_cast<std::chrono::seconds>(wait).count())
            << "\n"
            << (lock.heldByAnotherMachine()
                    ? tr("別のマシンのロックは引き継ぎません。そこでLumivertが動いていなければ，%1 を削除してください")
                    : tr("ロックは %1 です"))
                   .arg(AlbumLock::path(folder))
            << "\n";
        err.flush();
        return false;
    }
    // A folder that cannot hold the lock cannot hold the list or the album either: their own
    // errors will say so.
    return true;
}

void reportNews(QTextStream& err, const ListNews& news, bool quiet)
{
    // New and changed photos are news; vanished ones are a problem with the album, said always.
    if (const auto n = news.added.size(); n > 0 && !quiet) {
        const QString names = n <= 2 ? news.added.join(QStringLiteral(", "))
                                     : news.added.first() + QStringLiteral(" … ") + news.added.last();
        err << "lumivert-cli: "
            << (n == 1 ? tr("新しい写真1枚を最後に加えました: %1").arg(names)
                       : tr("新しい写真%1枚を最後に加えました: %2").arg(n).arg(names))
            << "\n";
    }
    if (const auto n = news.refreshed.size(); n > 0 && !quiet)
        err << "lumivert-cli: "
            << (n == 1 ? tr("一覧の保存後に変わった写真1枚を読み込み直しました: %1").arg(named(news.refreshed))
                       : tr("一覧の保存後に変わった写真%1枚を読み込み直しました: %2").arg(n).arg(named(news.refreshed)))
            << "\n";
    if (const auto n = news.vanished.size(); n > 0)
        err << "lumivert-cli: "
            << (n == 1 ? tr("一覧の写真1枚がフォルダにありません（一覧には残し，アルバムではその代わりにお知らせを表示"
                            "します）: %1")
                             .arg(named(news.vanished))
                       : tr("一覧の写真%1枚がフォルダにありません（一覧には残し，アルバムではその代わりにお知らせを表"
                            "示します）: %2")
                             .arg(n)
                             .arg(named(news.vanished)))
            << "\n";
}

QStringList refusedNotes(const AlbumOptionsFile::Refused& refused, const AlbumOptions& options)
{
    QStringList notes;
    // A value given again on this command line replaces the remembered one: nothing to say then.
    if (!refused.theme.isEmpty() && options.themeFile.isEmpty())
        notes << tr("前回のスタイルシート %1 は使いません（Lumivert.opt から使うのはプログラムのスタイルシートと写真の"
                    "フォルダ内のファイルだけです。--theme で指定し直せます）。最初のスタイルシートを使います")
                     .arg(refused.theme);
    if (!refused.background.isEmpty() && options.backgroundFile.isEmpty())
        notes << tr("前回の背景画像 %1 は使いません（Lumivert.opt から使うのはプログラムの画像と写真のフォルダ内の"
                    "ファイルだけです。--background で指定し直せます）。背景画像なしで作ります")
                     .arg(refused.background);
    return notes;
}

} // namespace CliFolder
