// SPDX-License-Identifier: MIT
#include "generate/albumoptionsfile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

#include "components/photorow.h"
#include "components/wholefile.h"
#include "design/backgroundlist.h"
#include "design/ccolor.h"

Q_DECLARE_LOGGING_CATEGORY(lcGenerate)

namespace AlbumOptionsFile
{

namespace
{

const QByteArray Header = QByteArrayLiteral("Lumivert album options 1");
// Far above any file we write (a title of 80 characters, two file names); a bigger file is not ours.
constexpr qint64 MaxFileSize = 64 * 1024;

const QStringList Widths{QStringLiteral("480"), QStringLiteral("640"), QStringLiteral("800")};
const QStringList Qualities{QStringLiteral("low"), QStringLiteral("standard"), QStringLiteral("high")};

// The yes/no options, one key each.
struct Flag {
    const char* key;
    bool AlbumOptions::*member;
};
constexpr Flag Flags[] = {
    {"progressive", &AlbumOptions::progressive},
    {"background", &AlbumOptions::background},
    {"indexNo", &AlbumOptions::indexNo},
    {"indexFileName", &AlbumOptions::indexFileName},
    {"indexCaption", &AlbumOptions::indexCaption},
    {"indexDate", &AlbumOptions::indexDate},
    {"pageFileName", &AlbumOptions::pageFileName},
    {"pageCaption", &AlbumOptions::pageCaption},
    {"pageDate", &AlbumOptions::pageDate},
    {"pageModel", &AlbumOptions::pageModel},
    {"pageTv", &AlbumOptions::pageTv},
    {"pageAv", &AlbumOptions::pageAv},
    {"japaneseNavi", &AlbumOptions::japaneseNavi},
    {"slideShow", &AlbumOptions::slideShow},
};
// Added later: a file written before it existed has no such key and reads as off, so an old
// album is re-created as it was.
constexpr char HighDensityKey[] = "highDensity";
constexpr const char* OtherKeys[] = {"title",  "colour", "theme",   "backgroundImage", "cover",
                                     "effect", "width",  "quality", "showTime"};

QString escaped(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescaped(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != QLatin1Char('\\')) {
            out += value.at(i);
            continue;
        }
        if (++i >= value.size())
            return std::nullopt;
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else if (c == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (c == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            return std::nullopt;
    }
    return out;
}

std::optional<int> number(const QString& text, int low, int high)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

QString sameFolder(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// The background image as stored: its name when it is one of 背景画像, else its full path.
QString backgroundName(const AlbumOptions& o)
{
    if (o.backgroundFile.isEmpty())
        return QString();
    const QFileInfo file(o.backgroundFile);
    if (sameFolder(file.absolutePath()) == sameFolder(BackgroundList::imageFolder(o.programFolder)))
        return file.fileName();
    return sameFolder(file.absoluteFilePath());
}

QString backgroundPath(const QString& stored, const QString& programFolder)
{
    if (stored.isEmpty() || QDir::isAbsolutePath(stored))
        return QDir::toNativeSeparators(stored);
    return QDir::toNativeSeparators(QDir(BackgroundList::imageFolder(programFolder)).filePath(stored));
}

} // namespace

QString path(const QString& photoFolder)
{
    return QDir::toNativeSeparators(photoFolder) + QDir::separator() + QLatin1String(FileName);
}

QByteArray encode(const AlbumOptions& o)
{
    QStringList lines{QString::fromLatin1(Header)};
    auto add = [&lines](const char* key, const QString& value) {
        lines << QLatin1String(key) + QLatin1Char('=') + escaped(value);
    };
    add("title", o.title);
    add("colour", o.colorName);
    add("theme", o.themeFile);
    add("backgroundImage", backgroundName(o));
    add("cover", QString::number(std::clamp(o.coverNumber, 0, MaxPhotos)));
    add("effect", QString::number(std::clamp(o.coverEffect, 0, 5)));
    add("width", Widths.at(std::clamp(o.pageWidthIndex, 0, 2)));
    add("quality", Qualities.at(std::clamp(o.qualityIndex, 0, 2)));
    add("showTime", o.showTime);
    for (const Flag& flag : Flags)
        add(flag.key, o.*flag.member ? QStringLiteral("yes") : QStringLiteral("no"));
    add(HighDensityKey, o.highDensity ? QStringLiteral("yes") : QStringLiteral("no"));
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

std::optional<AlbumOptions> decode(const QByteArray& bytes, const QString& programFolder)
{
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.takeFirst() != QString::fromLatin1(Header))
        return std::nullopt;

    QHash<QString, QString> values;
    for (const QString& line : lines) {
        const qsizetype at = line.indexOf(QLatin1Char('='));
        if (at <= 0)
            return std::nullopt;
        const QString key = line.left(at);
        const auto value = unescaped(line.mid(at + 1));
        if (!value || values.contains(key))
            return std::nullopt;
        values.insert(key, *value);
    }
    QStringList required;
    for (const Flag& flag : Flags)
        required << QLatin1String(flag.key);
    for (const char* key : OtherKeys)
        required << QLatin1String(key);
    for (const QString& key : required)
        if (!values.contains(key))
            return std::nullopt;

    AlbumOptions o;
    o.programFolder = programFolder;
    for (const Flag& flag : Flags) {
        const QString value = values.value(QLatin1String(flag.key));
        if (value != QLatin1String("yes") && value != QLatin1String("no"))
            return std::nullopt;
        o.*flag.member = value == QLatin1String("yes");
    }
    const QString density = values.value(QLatin1String(HighDensityKey), QStringLiteral("no"));
    if (density != QLatin1String("yes") && density != QLatin1String("no"))
        return std::nullopt;
    o.highDensity = density == QLatin1String("yes");
    o.title = values.value(QStringLiteral("title"));
    o.colorName = values.value(QStringLiteral("colour"));
    o.themeFile = values.value(QStringLiteral("theme"));
    o.backgroundFile = backgroundPath(values.value(QStringLiteral("backgroundImage")), programFolder);
    o.showTime = values.value(QStringLiteral("showTime"));
    o.pageWidthIndex = int(Widths.indexOf(values.value(QStringLiteral("width"))));
    o.qualityIndex = int(Qualities.indexOf(values.value(QStringLiteral("quality"))));
    const auto cover = number(values.value(QStringLiteral("cover")), 0, MaxPhotos);
    const auto effect = number(values.value(QStringLiteral("effect")), 0, 5);
    static const QRegularExpression showTime(QStringLiteral("^[0-9]{0,2}$"));
    // Values the window could not show are damage, not something to guess at.
    if (o.title.size() > 80 || CColor().indexOf(o.colorName) == 0 || o.pageWidthIndex < 0 || o.qualityIndex < 0 ||
        !cover || !effect || !showTime.match(o.showTime).hasMatch())
        return std::nullopt;
    o.coverNumber = *cover;
    o.coverEffect = *effect;
    return o;
}

AlbumOptions load(const QString& photoFolder, const QString& programFolder)
{
    AlbumOptions start;
    start.photoFolder = photoFolder;
    start.programFolder = programFolder;
    const QString file = path(photoFolder);
    if (photoFolder.isEmpty() || !QFileInfo::exists(file))
        return start;
    const auto bytes = QFileInfo(file).size() > MaxFileSize ? std::nullopt : WholeFile::read(file);
    if (!bytes) {
        qCWarning(lcGenerate) << "album options not read, start values used:" << file;
        return start;
    }
    std::optional<AlbumOptions> read = decode(bytes->left(MaxFileSize), programFolder);
    if (!read) {
        qCWarning(lcGenerate) << "album options damaged, start values used:" << file;
        return start;
    }
    read->photoFolder = photoFolder;
    // Files that went since the album was made: the start value of that choice.
    if (!read->themeFile.isEmpty() && !QFileInfo(read->themePath()).isFile())
        read->themeFile.clear();
    if (!read->backgroundFile.isEmpty() && !QFileInfo(read->backgroundFile).isFile()) {
        read->background = false;
        read->backgroundFile.clear();
    }
    return *read;
}

bool save(const AlbumOptions& options, QString* error)
{
    const QString reason = options.photoFolder.isEmpty() ? QStringLiteral("no photo folder")
                                                         : WholeFile::write(path(options.photoFolder), encode(options));
    if (reason.isEmpty())
        return true;
    if (error)
        *error =
            options.photoFolder.isEmpty() ? reason : QStringLiteral("%1: %2").arg(path(options.photoFolder), reason);
    return false;
}

} // namespace AlbumOptionsFile
