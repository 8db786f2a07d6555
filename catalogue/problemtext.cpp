// SPDX-License-Identifier: MIT
#include "catalogue/problemtext.h"

#include <QStringList>

namespace
{
// A long list of broken photos is cut here; the rest are counted.
constexpr int kListedProblems = 20;
} // namespace

ProblemText::Report ProblemText::importReport(const ImportResult& result, const QString& folder)
{
    Report report;
    if (result.cancelled)
        return report;
    QStringList parts;
    if (result.folderMissing) {
        parts << tr("指定されたフォルダが見つかりません。フォルダ名を確かめてください。\n%1").arg(folder);
    } else if (result.folderUnreadable) {
        parts << tr("指定されたフォルダを読み込めません（%1）。\n%2")
                     .arg(osReason(QStringLiteral("Permission denied")), folder);
    } else if (result.rows.isEmpty()) {
        parts << tr("指定されたフォルダには写真（*.jpg，*.jpeg，*.heic，*.heif，*.hif，*.avif）がありません。\n%1")
                     .arg(folder);
    }
    if (!result.problems.isEmpty()) {
        QString text = tr("次の写真は読み込めませんでした。一覧には残りますが，"
                          "アルバムでは写真の代わりにお知らせを表示します。");
        const int shown = std::min(int(result.problems.size()), kListedProblems);
        for (int i = 0; i < shown; ++i) {
            const ImportProblem& problem = result.problems.at(i);
            text += QLatin1Char('\n') + tr("・%1 : %2").arg(problem.fileName, photoProblem(problem.finding));
        }
        if (result.problems.size() > shown)
            text += QLatin1Char('\n') + tr("ほか%1枚").arg(result.problems.size() - shown);
        parts << text;
    }
    report.warning = !parts.isEmpty();
    if (result.leftOut == 1) {
        parts << tr("アルバムに入れられる写真は%1枚までのため，1枚（%2）を読み込みませんでした。")
                     .arg(MaxPhotos)
                     .arg(result.firstLeftOut);
    } else if (result.leftOut > 1) {
        parts << tr("アルバムに入れられる写真は%1枚までのため，%2枚（%3 ～ %4）を読み込みませんでした。")
                     .arg(MaxPhotos)
                     .arg(result.leftOut)
                     .arg(result.firstLeftOut, result.lastLeftOut);
    }
    report.text = parts.join(QStringLiteral("\n\n"));
    return report;
}

namespace
{
// A list of names: all of them up to the limit, else the first ones and a count of the rest.
QString namesText(const QStringList& names)
{
    QString text;
    const int shown = std::min(int(names.size()), kListedProblems);
    for (int i = 0; i < shown; ++i)
        text += QLatin1Char('\n') + ProblemText::tr("・%1").arg(names.at(i));
    if (names.size() > shown)
        text += QLatin1Char('\n') + ProblemText::tr("ほか%1枚").arg(names.size() - shown);
    return text;
}
} // namespace

ProblemText::Report ProblemText::listNewsReport(const ImportResult& read, const ListNews& news, const QString& folder)
{
    QStringList parts;
    if (!news.added.isEmpty()) {
        const QString names = news.added.size() <= 2 ? news.added.join(QStringLiteral(", "))
                                                     : news.added.first() + QStringLiteral(" … ") + news.added.last();
        parts << tr("新しい写真%1枚を一覧の最後に追加しました: %2").arg(news.added.size()).arg(names);
    }
    if (!news.refreshed.isEmpty())
        parts << tr("写真一覧ﾃﾞｰﾀの保存後に変更された写真%1枚を読み込み直しました。").arg(news.refreshed.size()) +
                     namesText(news.refreshed);
    Report report = importReport(read, folder);
    if (!report.text.isEmpty())
        parts << report.text;
    report.text = parts.join(QStringLiteral("\n\n"));
    return report;
}

QString ProblemText::vanishedQuestion(const ListNews& news)
{
    return tr("写真一覧ﾃﾞｰﾀにある次の写真%1枚が，フォルダにありません。").arg(news.vanished.size()) +
           namesText(news.vanished) + QStringLiteral("\n\n") +
           tr("一覧から外しますか？\n\n［いいえ］を選ぶと一覧に残します（写真が戻れば使われます）。"
              "写真がないあいだ，アルバムでは写真の代わりにお知らせを表示します。");
}

QString ProblemText::photoProblem(const PhotoCheck::Finding& finding)
{
    switch (finding.problem) {
    case PhotoCheck::Problem::None:
        return {};
    case PhotoCheck::Problem::CannotOpen:
        return tr("開けません（%1）").arg(osReason(finding.osReason));
    case PhotoCheck::Problem::Empty:
        return tr("空のファイルです");
    case PhotoCheck::Problem::NotJpeg:
        return tr("このプログラムで読める写真ではありません");
    case PhotoCheck::Problem::Damaged:
        return tr("ファイルが壊れているか，途中で切れています");
    case PhotoCheck::Problem::TooLarge:
        return tr("画像が大きすぎて読み込めません");
    }
    return {};
}

QString ProblemText::osReason(const QString& english)
{
    // The system's texts (strerror in the C locale, as Qt's file classes report them too).
    static const struct {
        const char* english;
        const char* words;
    } known[] = {
        {"Permission denied", QT_TR_NOOP("アクセスが拒否されました")},
        {"Operation not permitted", QT_TR_NOOP("操作が許可されていません")},
        {"No space left on device", QT_TR_NOOP("ディスクの空き容量が足りません")},
        {"Disk quota exceeded", QT_TR_NOOP("ディスクの使用量の上限を超えました")},
        {"File too large", QT_TR_NOOP("ファイルが大きすぎます")},
        {"No such file or directory", QT_TR_NOOP("ファイルまたはフォルダがありません")},
        {"Not a directory", QT_TR_NOOP("フォルダではありません")},
        {"Is a directory", QT_TR_NOOP("ファイルではなくフォルダです")},
        {"Read-only file system", QT_TR_NOOP("読み取り専用のドライブです")},
        {"Input/output error", QT_TR_NOOP("読み書きの途中でエラーが起きました")},
    };
    for (const auto& entry : known) {
        if (english.contains(QLatin1String(entry.english), Qt::CaseInsensitive))
            return tr(entry.words);
    }
    return english;
}
