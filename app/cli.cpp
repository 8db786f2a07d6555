// SPDX-License-Identifier: MIT
#include "app/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTextStream>
#include <QTranslator>

#include "app/clifolder.h"
#include "app/programinfo.h"
#include "app/startup.h"
#include "catalogue/albumlock.h"
#include "catalogue/cgetfiles.h"
#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "catalogue/photolistupdate.h"
#include "catalogue/problemtext.h"
#include "components/photolistmodel.h"
#include "generate/albumoptionsfile.h"
#include "generate/albumstart.h"

namespace Cli
{

namespace
{

QString tr(const char* text)
{
    return QCoreApplication::translate("Cli", text);
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// The first "*.css" of the program folder in name order: what cboTheme selects at start-up.
QString firstTheme(const QString& programFolder)
{
    CGetFiles files;
    files.setRecMax(999);
    (void)files.GetFiles(programFolder, QStringLiteral("*.css"));
    const clsGetFiles* first = files.Record().Item(1);
    return first ? first->FileName : QString();
}

// The detail lists: a word per yes/no option, or all, or none.
struct DetailList {
    const char* flag;
    QStringList words;
    QList<bool AlbumOptions::*> members;
    const char* help;
};
const QList<DetailList>& detailLists()
{
    static const QList<DetailList> lists{
        {"index-details",
         {"no", "filename", "caption", "date"},
         {&AlbumOptions::indexNo, &AlbumOptions::indexFileName, &AlbumOptions::indexCaption, &AlbumOptions::indexDate},
         QT_TRANSLATE_NOOP("Cli", "目次に載せる項目")},
        {"page-details",
         {"filename", "caption", "date", "model", "tv", "av"},
         {&AlbumOptions::pageFileName, &AlbumOptions::pageCaption, &AlbumOptions::pageDate, &AlbumOptions::pageModel,
          &AlbumOptions::pageTv, &AlbumOptions::pageAv},
         QT_TRANSLATE_NOOP("Cli", "ページに載せる項目")},
    };
    return lists;
}

bool parseDetails(const DetailList& list, const QString& value, AlbumOptions& o, QString* error)
{
    for (bool AlbumOptions::*member : list.members)
        o.*member = false;
    const QString trimmed = value.trimmed().toLower();
    if (trimmed == QLatin1String("none"))
        return true;
    if (trimmed == QLatin1String("all")) {
        for (bool AlbumOptions::*member : list.members)
            o.*member = true;
        return true;
    }
    for (const QString& item : trimmed.split(QLatin1Char(','))) {
        const qsizetype at = list.words.indexOf(item.trimmed());
        if (at < 0)
            return fail(error, tr("項目名ではありません「%1」（%2，または all，none）")
                                   .arg(item.trimmed(), list.words.join(QStringLiteral(", "))));
        o.*list.members[at] = true;
    }
    return true;
}

// The start value of a choice or a list, as --help shows it.
QString startWords(const DetailList& list)
{
    const AlbumOptions start;
    QStringList on;
    for (qsizetype i = 0; i < list.words.size(); ++i)
        if (start.*list.members[i])
            on << list.words[i];
    return on.isEmpty() ? QStringLiteral("none") : on.join(QLatin1Char(','));
}

// Every option lumivert-cli takes; the album's choices and yes/no flags come from AlbumOptions.
QList<QCommandLineOption> optionList()
{
    const AlbumOptions start;
    QList<QCommandLineOption> options;
    auto add = [&options](const QStringList& names, const QString& help, const QString& valueName = {}) {
        options << QCommandLineOption(names, help, valueName);
    };
    auto withStart = [](const char* help, const QString& value) {
        return tr(help) + QStringLiteral(" (%1)").arg(value);
    };
    add({"title"},
        withStart(QT_TRANSLATE_NOOP("Cli", "アルバムのタイトル（%1文字まで）"), start.title)
            .arg(AlbumOptions::MaxTitleLength),
        tr("テキスト"));
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices())
        add({QLatin1String(choice.key)}, withStart(choice.help, choice.words.value(start.*choice.member)),
            choice.words.join(QLatin1Char('|')));
    for (const AlbumOptions::Switch& flag : AlbumOptions::switches())
        if (flag.flag)
            add({QLatin1String(flag.flag)}, tr(flag.help));
    add({"density"},
        withStart(QT_TRANSLATE_NOOP("Cli", "2: 高解像度画面用に2倍の大きさの画像も作り，srcsetで示す。1: 作らない"),
                  start.highDensity ? QStringLiteral("2") : QStringLiteral("1")),
        QStringLiteral("1|2"));
    add({"colour", "color"}, withStart(QT_TRANSLATE_NOOP("Cli", "16色の名前のひとつ"), start.colorName), tr("色"));
    add({"theme"},
        withStart(QT_TRANSLATE_NOOP("Cli", "スタイルシート：プログラムの横にあるものの名前か，パス"),
                  tr("名前順で最初のもの")),
        QStringLiteral("FILE.css"));
    add({"background"},
        withStart(QT_TRANSLATE_NOOP("Cli", "背景画像：パスか，背景画像フォルダの中の名前"), QStringLiteral("none")),
        QStringLiteral("FILE.jpg|none"));
    add({"cover"}, withStart(QT_TRANSLATE_NOOP("Cli", "表紙にする写真の番号"), QStringLiteral("1")),
        QStringLiteral("N"));
    add({"effect"}, withStart(QT_TRANSLATE_NOOP("Cli", "表紙の特殊効果"), QString::number(start.coverEffect)),
        QStringLiteral("0-%1").arg(AlbumOptions::EffectCount - 1));
    for (const DetailList& list : detailLists())
        add({QLatin1String(list.flag)},
            tr(list.help) +
                QStringLiteral(": %1, all, none (%2)").arg(list.words.join(QLatin1Char(',')), startWords(list)),
            tr("一覧"));
    add({"slideshow"}, tr("自動ページめくり（1～99秒）"), tr("秒"));
    add({"page-style-only"}, tr("写真はそのままにして，ページとスタイルだけを書き換える"));
    add({"list-only"}, tr("写真一覧の読み込み（またはファイルからの読み出し）と保存だけをする"));
    add({"reimport"}, tr("写真を読み込み直す。既存の一覧ファイル（順序，回転，キャプション）はそのまま残す"));
    add({"replace-list"}, tr("--reimport と一緒に：新しい一覧を既存の一覧ファイルの上に書く"));
    add({"q", "quiet"}, tr("エラーと問題の報告のほかは何も表示しない"));
    add({"h", "help"}, tr("この説明を表示して終わる"));
    add({"version"}, tr("バージョンを表示して終わる"));
    return options;
}

void addOptions(QCommandLineParser& p)
{
    p.addOptions(optionList());
    p.addPositionalArgument(tr("フォルダ"), tr("写真のあるフォルダ"));
}

// Terminal columns a character takes: two for East Asian wide and full-width ones (kanji, kana,
// full-width punctuation), one for the rest (half-width katakana included).
int columns(char32_t c)
{
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
                      (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

int columns(const QString& text)
{
    int n = 0;
    for (const char32_t c : text.toUcs4())
        n += columns(c);
    return n;
}

// Text broken into lines of at most width columns: between words at spaces, and between any two
// wide characters, but never before closing punctuation, a small kana or the long-vowel mark, nor
// after an opening bracket.
QStringList wrapped(const QString& text, int width)
{
    static const QString closing = QStringLiteral("，。、）」』：；！？・ーぁぃぅぇぉっゃゅょァィゥェォッャュョ");
    static const QString opening = QStringLiteral("（「『");
    QStringList units; // unbreakable pieces; " " marks a space
    bool glue = false; // the next piece joins the last one
    for (const char32_t c : text.toUcs4()) {
        const QString ch = QString::fromUcs4(&c, 1);
        if (c == U' ') {
            units << QStringLiteral(" ");
            glue = false;
        } else if (!units.isEmpty() && units.last() != QLatin1String(" ") &&
                   (glue || closing.contains(ch) || (columns(c) == 1 && columns(units.last().back().unicode()) == 1))) {
            units.last() += ch;
            glue = opening.contains(ch);
        } else {
            units << ch;
            glue = opening.contains(ch);
        }
    }
    QStringList lines;
    QString line;
    bool space = false;
    for (const QString& unit : units) {
        if (unit == QLatin1String(" ")) {
            space = !line.isEmpty();
            continue;
        }
        const QString piece = space ? QLatin1Char(' ') + unit : unit;
        if (!line.isEmpty() && columns(line) + columns(piece) > width) {
            lines << line;
            line = unit;
        } else {
            line += piece;
        }
        space = false;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

using HelpRows = QList<QPair<QString, QString>>;

// The column descriptions start at: after the longest name, but never beyond 34.
int helpColumn(const HelpRows& rows)
{
    int column = 0;
    for (const auto& row : rows)
        column = std::max(column, std::min(34, 2 + columns(row.first) + 2));
    return column;
}

// Rows of "  name  description", the descriptions starting at column and wrapped to the 79
// columns of a terminal; a name too long for the column puts its description on the next line.
QString helpRows(const HelpRows& rows, int column)
{
    QString text;
    for (const auto& [name, help] : rows) {
        QString lead = QStringLiteral("  ") + name;
        if (columns(lead) + 1 > column) {
            text += lead + QLatin1Char('\n');
            lead.clear();
        }
        for (const QString& line : wrapped(help, 79 - column)) {
            text += lead + QString(column - columns(lead), QLatin1Char(' ')) + line + QLatin1Char('\n');
            lead.clear();
        }
    }
    return text;
}

// The flags of a parsed command line onto o; false, with the reason, on a value out of the table.
bool applyFlags(const QCommandLineParser& p, Arguments& a, const QString& programFolder, QString* error)
{
    AlbumOptions& o = a.options;
    if (p.isSet("title")) {
        o.title = p.value("title");
        if (!AlbumOptions::validTitle(o.title))
            return fail(error, tr("--title: %1文字まで").arg(AlbumOptions::MaxTitleLength));
    }
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices()) {
        const QString name = QLatin1String(choice.key);
        if (!p.isSet(name))
            continue;
        const auto index = AlbumOptions::wordIndex(choice, p.value(name));
        if (!index)
            return fail(error, tr("--%1: %2 のいずれか").arg(name, choice.words.join(QStringLiteral(", "))));
        o.*choice.member = *index;
    }
    for (const AlbumOptions::Switch& flag : AlbumOptions::switches())
        if (flag.flag && p.isSet(QLatin1String(flag.flag)))
            o.*flag.member = true;
    if (p.isSet("density")) {
        const QString v = p.value("density");
        if (v != QLatin1String("1") && v != QLatin1String("2"))
            return fail(error, tr("--density: 1 か 2"));
        o.highDensity = v == QLatin1String("2");
    }
    if (p.isSet("colour")) {
        o.colorName = p.value("colour");
        if (!AlbumOptions::validColor(o.colorName))
            return fail(error, tr("--colour: 色の名前ではありません「%1」（%2）")
                                   .arg(o.colorName, AlbumOptions::colorNames().join(QStringLiteral(", "))));
    }
    if (p.isSet("theme")) {
        const QString v = p.value("theme");
        // A bare name is a file of the program folder, as the style sheet list holds them; a
        // path is the user's own file, kept as its full path.
        const bool named = !v.contains(QLatin1Char('/')) && !v.contains(QDir::separator());
        const QFileInfo info(named ? QFileInfo(QDir(programFolder), v) : QFileInfo(v));
        if (!info.isFile())
            return fail(error, tr("--theme: スタイルシート「%1」がありません").arg(v));
        o.themeFile = named ? v : QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    }
    if (p.isSet("background")) {
        const QString v = p.value("background");
        if (v == QLatin1String("none")) {
            o.background = false;
            o.backgroundFile.clear();
        } else {
            QFileInfo info(v);
            if (!info.isFile())
                info = QFileInfo(QDir(programFolder).filePath(QStringLiteral("背景画像/") + v));
            if (!info.isFile())
                return fail(error, tr("--background: 画像「%1」がありません").arg(v));
            o.background = true;
            o.backgroundFile = QDir::toNativeSeparators(info.absoluteFilePath());
        }
    }
    if (p.isSet("cover")) {
        bool ok = false;
        a.coverGiven = true;
        o.coverNumber = p.value("cover").toInt(&ok);
        if (!ok || !AlbumOptions::validCover(o.coverNumber))
            return fail(error, tr("--cover: 写真の番号（0～%1）").arg(MaxPhotos));
    }
    if (p.isSet("effect")) {
        bool ok = false;
        o.coverEffect = p.value("effect").toInt(&ok);
        if (!ok || !AlbumOptions::validEffect(o.coverEffect))
            return fail(error, tr("--effect: 0～%1").arg(AlbumOptions::EffectCount - 1));
    }
    for (const DetailList& list : detailLists())
        if (p.isSet(QLatin1String(list.flag)) && !parseDetails(list, p.value(QLatin1String(list.flag)), o, error))
            return false;
    if (p.isSet("slideshow")) {
        o.slideShow = true;
        o.showTime = p.value("slideshow");
        if (o.showTime.isEmpty() || !AlbumOptions::validShowTime(o.showTime, true))
            return fail(error, tr("--slideshow: 1～99秒"));
    }
    if (p.isSet("page-style-only"))
        a.mode = GenerationMode::PageStyleOnly;
    a.listOnly = p.isSet("list-only");
    a.reimport = p.isSet("reimport");
    a.replaceList = p.isSet("replace-list");
    a.quiet = p.isSet("quiet");
    return true;
}

// Qt's parser words its mistakes in English only; they are said in the tool's language instead.
QString parserError(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return tr("不明なオプション %1").arg(unknown.constFirst());
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    const QString text = parser.errorText();
    if (const auto m = missing.match(text); m.hasMatch())
        return tr("%1 には値が要ります").arg(m.captured(1));
    if (const auto m = unexpected.match(text); m.hasMatch())
        return tr("%1 は値をとりません").arg(m.captured(1));
    return text;
}

} // namespace

QString defaultProgramFolder()
{
    const QString overridden = qEnvironmentVariable("LUMIVERT_PROGRAM_DIR");
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

QString language()
{
    return Startup::interfaceLanguage(qEnvironmentVariable("LUMIVERT_LANG"), QLocale::system().name());
}

bool loadTranslation(QTranslator& translator, const QString& language, const QStringList& folders)
{
    // The texts are written in Japanese; any other language comes from translations/lumivert_<code>.qm.
    if (language == QLatin1String("ja"))
        return false;
    for (const QString& folder : folders)
        if (translator.load(QStringLiteral("lumivert_") + language,
                            QDir(folder).filePath(QStringLiteral("translations"))))
            return true;
    return false;
}

QString usage()
{
    // Laid out here rather than by QCommandLineParser, which counts characters, not the columns
    // a terminal gives them: Japanese names and descriptions came out misaligned and overlong.
    HelpRows options;
    for (const QCommandLineOption& option : optionList()) {
        QStringList names;
        for (const QString& name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString shown = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            shown += QStringLiteral(" <%1>").arg(option.valueName());
        options.append({shown, option.description()});
    }
    const HelpRows arguments{{tr("フォルダ"), tr("写真のあるフォルダ")}};
    const int column = helpColumn(options + arguments); // the two lists line up
    const QString text = tr("使い方: lumivert-cli フォルダ [オプション]") + QLatin1Char('\n') +
                         tr("フォルダの写真のWebアルバムを フォルダ/Lumivert に作ります。\n"
                            "オプションの初期値は，そのフォルダで最後に作ったアルバムのもの（フォルダ/Lumivert.opt，\n"
                            "ウィンドウで作ってもこのツールで作っても）で，それがなければ括弧の中の値です。\n"
                            "指定したオプションがそれに優先し，作ったアルバムはそのオプションを記録します。") +
                         QStringLiteral("\n\n") + tr("オプション:") + QLatin1Char('\n') + helpRows(options, column) +
                         QLatin1Char('\n') + tr("引数:") + QLatin1Char('\n') + helpRows(arguments, column);
    return text + QLatin1Char('\n') +
           tr("終了ステータス:\n"
              "  0  アルバムを作った（--list-only では一覧を保存した）\n"
              "  1  書き込めなかったページがある（一覧を保存できなかった）\n"
              "  2  引数か入力の誤り（フォルダがない，写真がない，一覧ファイルが読めない）\n"
              "  3  別の Lumivert がこのアルバム（フォルダ/Lumivert.lock）を待ち時間のあいだ書き込み続けた\n"
              "     （待ち時間は環境変数 LUMIVERT_LOCK_WAIT の秒数，初期値は10分）\n");
}

std::optional<Arguments> parseArguments(const QStringList& arguments, const QString& programFolder, QString* error)
{
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("lumivert-cli")} + arguments)) {
        fail(error, parserError(parser));
        return std::nullopt;
    }
    // The flags go onto the start values first, to find every mistake before a file is read,
    // then onto the options remembered for the folder, which they override.
    Arguments a;
    a.options.programFolder = QDir::toNativeSeparators(programFolder);
    if (!applyFlags(parser, a, programFolder, error))
        return std::nullopt;
    a.help = parser.isSet("help");
    a.version = parser.isSet("version");
    if (a.help || a.version)
        return a;
    const QStringList folders = parser.positionalArguments();
    if (folders.isEmpty()) {
        fail(error, tr("写真のフォルダが指定されていません"));
        return std::nullopt;
    }
    if (folders.size() > 1) {
        fail(error, tr("フォルダはひとつだけ指定できます"));
        return std::nullopt;
    }
    if (a.replaceList && !a.reimport) {
        fail(error, tr("--replace-list は --reimport と一緒に指定します"));
        return std::nullopt;
    }
    const QString photoFolder =
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(folders.constFirst()).absoluteFilePath()));
    Arguments remembered = a;
    AlbumOptionsFile::Refused refused;
    remembered.options = AlbumOptionsFile::load(photoFolder, a.options.programFolder, &refused);
    (void)applyFlags(parser, remembered, programFolder, error);
    AlbumOptions& o = remembered.options;
    remembered.notes = CliFolder::refusedNotes(refused, o);
    if (o.themeFile.isEmpty())
        o.themeFile = firstTheme(programFolder);
    if (o.coverNumber == 0 && !remembered.coverGiven)
        o.coverNumber = 1;
    return remembered;
}

namespace
{

// Progress on standard error: on a terminal one line rewritten in place (step, count, percentage),
// elsewhere (a log file, a pipe) one line per step.
class ProgressLine
{
public:
    ProgressLine(QTextStream& err, const Console& console, bool quiet)
        : m_err(err), m_terminal(console.terminal), m_quiet(quiet)
    {
    }
    ~ProgressLine() { end(); }

    void show(int step, int i, int n)
    {
        if (m_quiet || n <= 0)
            return;
        static const char* const names[] = {
            QT_TRANSLATE_NOOP("Cli", "写真の読み込み"),
            QT_TRANSLATE_NOOP("Cli", "目次用画像生成"),
            QT_TRANSLATE_NOOP("Cli", "ページ用画像生成"),
            QT_TRANSLATE_NOOP("Cli", "HTML生成"),
        };
        const QString name = tr(names[qBound(0, step, 3)]);
        if (!m_terminal) {
            if (step != m_step)
                m_err << QCoreApplication::translate("Cli", "%1（%2枚）").arg(name).arg(n) << "\n";
        } else {
            if (step != m_step)
                end();
            // Erase to the end of the line: a shorter text leaves nothing of the one before.
            m_err << '\r'
                  << QCoreApplication::translate("Cli", "%1 %2/%3（%4%）").arg(name).arg(i).arg(n).arg(i * 100 / n)
                  << "\x1b[K";
            m_open = true;
        }
        m_step = step;
        m_err.flush();
    }
    void end()
    {
        if (m_open)
            m_err << "\n";
        m_open = false;
        m_err.flush();
    }

private:
    QTextStream& m_err;
    bool m_terminal;
    bool m_quiet;
    int m_step = -1;
    bool m_open = false;
};

// What the user should know after an import: photos that could not be read and why, photos
// left out beyond the limit, a folder without photos.
void reportImport(QTextStream& err, const ImportResult& imported, const QString& folder)
{
    if (imported.folderUnreadable)
        err << "lumivert-cli: "
            << tr("フォルダ %1 を読み込めません: %2")
                   .arg(folder, ProblemText::osReason(QStringLiteral("Permission denied")))
            << "\n";
    if (!imported.problems.isEmpty()) {
        err << "lumivert-cli: "
            << (imported.problems.size() == 1 ? tr("1枚の写真を読み込めませんでした（一覧には残り，アルバムでは写真の代"
                                                   "わりにお知らせを表示します）:")
                                              : tr("%1枚の写真を読み込めませんでした（一覧には残り，アルバムでは写真の"
                                                   "代わりにお知らせを表示します）:")
                                                    .arg(imported.problems.size()))
            << "\n";
        for (const ImportProblem& problem : imported.problems)
            err << "  " << problem.fileName << ": " << ProblemText::photoProblem(problem.finding) << "\n";
    }
    if (imported.leftOut == 1) {
        err << "lumivert-cli: "
            << tr("アルバムに入れられる写真は%1枚までのため，1枚を読み込みませんでした（%2）")
                   .arg(MaxPhotos)
                   .arg(imported.firstLeftOut)
            << "\n";
    } else if (imported.leftOut > 1) {
        err << "lumivert-cli: "
            << tr("アルバムに入れられる写真は%1枚までのため，%2枚を読み込みませんでした（%3 ～ %4）")
                   .arg(MaxPhotos)
                   .arg(imported.leftOut)
                   .arg(imported.firstLeftOut, imported.lastLeftOut)
            << "\n";
    }
}

} // namespace

int run(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err,
        const Console& console)
{
    QString error;
    const auto parsed = parseArguments(arguments, programFolder, &error);
    if (!parsed) {
        err << "lumivert-cli: " << error << "\n" << usage();
        err.flush();
        return BadInput;
    }
    if (parsed->help || parsed->version) {
        out << (parsed->help ? usage() : ProgramInfo::versionText(QStringLiteral("lumivert-cli")));
        out.flush();
        return Written;
    }
    const bool quiet = parsed->quiet;
    // Remembered options that were not used: the album differs from the one remembered.
    for (const QString& note : parsed->notes)
        err << "lumivert-cli: " << note << "\n";
    AlbumOptions options = parsed->options;
    const QString folder = options.photoFolder;
    if (!QFileInfo(folder).isDir()) {
        err << "lumivert-cli: " << tr("フォルダ %1 はありません").arg(folder) << "\n";
        err.flush();
        return BadInput;
    }

    PhotoListModel model;
    QList<int> widths;
    const bool listFile = PhotoListFile::exists(folder);
    const bool loaded = listFile && !parsed->reimport;
    if (loaded) {
        // The tool never shows the thumbnails and does not write a loaded list back, so they are
        // only checked, not decoded: a long list costs neither their time nor their memory.
        if (!PhotoListFile::load(model, folder, &widths, &error, SheetFile::Pictures::Checked)) {
            err << "lumivert-cli: "
                << tr("%1 を読み込めません: %2\n（そのまま残します。--reimport で写真を読み込み直し，"
                      "--reimport --replace-list でその新しい一覧を上に書きます）")
                       .arg(PhotoListFile::path(folder), error)
                << "\n";
            err.flush();
            return BadInput;
        }
        if (!quiet)
            err << tr("%2 から %1 枚の写真を読み出しました").arg(model.photoCount()).arg(PhotoListFile::path(folder))
                << "\n";
        // The list follows its folder: new photos join at the end, changed ones are read afresh.
        ProgressLine line(err, console, quiet);
        ListUpdate update =
            PhotoListUpdate::run(model.rows(), folder, QFileInfo(PhotoListFile::path(folder)).lastModified(), {},
                                 [&line](int i, int n) { line.show(0, i, n); });
        line.end();
        model.setRows(std::move(update.read.rows));
        CliFolder::reportNews(err, update.news, quiet);
        reportImport(err, update.read, folder);
    } else {
        ProgressLine line(err, console, quiet);
        const ImportResult imported = PhotoImport::run(folder, {}, [&line](int i, int n) { line.show(0, i, n); });
        line.end();
        model.setRows(imported.rows);
        if (!quiet) {
            err << tr("%1 枚の写真を読み込みました").arg(imported.rows.size());
            if (imported.failed > 0)
                err << tr("（%1 枚はデコードできませんでした）").arg(imported.failed);
            err << "\n";
        }
        reportImport(err, imported, folder);
    }
    err.flush();

    // Nothing to make from an empty list: the folder and an album already in it stay as they are.
    if (model.photoCount() == 0) {
        err << "lumivert-cli: " << tr("%1 には写真がありません。作るものがないので，アルバムは作りません").arg(folder)
            << "\n";
        err.flush();
        return BadInput;
    }

    // A folder that may be read but not written: said once, before anything is tried there.
    if (QString reason; !AlbumStart::folderWritable(folder, &reason)) {
        err << "lumivert-cli: "
            << tr("フォルダ %1 には書き込めません（%2）。写真一覧とアルバムはここに保存できません")
                   .arg(folder, ProblemText::osReason(reason))
            << "\n";
        err.flush();
        return PagesFailed;
    }

    // From here on the folder is written: one run at a time, the others wait. A list that is only
    // loaded, or kept as it is, with --list-only writes nothing and takes no lock.
    AlbumLock lock(folder);
    const bool keepsList = loaded || (listFile && parsed->reimport && !parsed->replaceList);
    if ((!keepsList || !parsed->listOnly) && !CliFolder::lockAlbum(lock, folder, err, CliFolder::lockWait(), quiet))
        return LockBusy;

    // As the create command: a list just loaded from the file is what the file holds already, so
    // the file is left as it is; so is a file the user's work lives in when the photos were read
    // afresh, unless told to replace it.
    bool saved = true;
    if (listFile && parsed->reimport && !parsed->replaceList) {
        if (!quiet)
            err << tr("%1 はそのまま残します（--replace-list で新しい一覧をその上に書きます）")
                       .arg(PhotoListFile::path(folder))
                << "\n";
    } else if (!loaded) {
        saved = PhotoListFile::save(model, folder, widths, &error);
        if (!saved)
            err << "lumivert-cli: "
                << tr("%1 を保存できません: %2").arg(PhotoListFile::path(folder), ProblemText::osReason(error)) << "\n";
    }
    if (parsed->listOnly) {
        err.flush();
        return saved ? Written : PagesFailed;
    }

    // A remembered cover the list no longer reaches is the first photo, as in the window.
    if (!parsed->coverGiven)
        options.coverNumber = options.coverFor(model.photoCount());
    if (AlbumStart::prepare(options, model.photoCount(), &error) == AlbumStart::Verdict::FolderFailed) {
        err << "lumivert-cli: "
            << tr("アルバムのフォルダ %1 を作れません: %2").arg(options.albumFolder(), ProblemText::osReason(error))
            << "\n";
        err.flush();
        return PagesFailed;
    }
    GenerationResult result;
    {
        ProgressLine line(err, console, quiet);
        result = AlbumGenerator::run(options, model.rows(), parsed->mode, {},
                                     [&line](int step, int i, int n) { line.show(step, i, n); });
    }
    for (const QString& image : result.failedImages)
        err << tr("画像を書き込めませんでした: %1").arg(image) << "\n";
    const QString top = QDir::toNativeSeparators(options.albumFolder() + QDir::separator() + QStringLiteral("top.htm"));
    if (!result.failedPages.isEmpty()) {
        for (const QString& line : result.errorText.trimmed().split(QLatin1Char('\n')))
            err << QCoreApplication::translate("AlbumGenerator", line.toUtf8().constData()) << "\n";
        if (!result.failureReason.isEmpty())
            err << tr("理由: %1").arg(ProblemText::osReason(result.failureReason)) << "\n";
        for (const QString& page : result.failedPages)
            err << "  " << page << "\n";
        err.flush();
        return PagesFailed;
    }
    // The album was made: its options become the folder's defaults (a failure costs only those).
    if (AlbumOptionsFile::rememberCreation(options, model.photoCount(), result, &error) ==
        AlbumOptionsFile::Remembered::Failed)
        err << "lumivert-cli: " << tr("オプションを %1 に記録できません: %2").arg(AlbumOptionsFile::path(folder), error)
            << "\n";
    err.flush();
    out << top << "\n";
    out.flush();
    return Written;
}

} // namespace Cli
