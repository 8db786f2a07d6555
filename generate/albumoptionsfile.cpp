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

Q_DECLARE_LOGGING_CATEGORY(lcGenerate)

namespace AlbumOptionsFile
{

namespace
{

const QByteArray Header = QByteArrayLiteral("Lumivert album options 1");
// Far above any file we write (a title of 80 characters, two file names); a bigger file is not ours.
constexpr qint64 MaxFileSize = 64 * 1024;

// The keys whose values are not in the tables of AlbumOptions.
constexpr const char* OtherKeys[] = {"title", "colour", "theme", "backgroundImage", "cover", "effect", "showTime"};

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

// A name without any folder part: how the program's own style sheets and backgrounds are stored.
bool plainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

// The full path of a stored file when it is a file inside the photo folder (links resolved), ""
// otherwise. A relative path is taken from the photo folder.
QString insidePhotoFolder(const QString& stored, const QString& photoFolder)
{
    const QString unified = QDir::fromNativeSeparators(stored);
    const QFileInfo file(QDir::isAbsolutePath(unified) ? unified : QDir(photoFolder).filePath(unified));
    const QString folder = QFileInfo(photoFolder).canonicalFilePath();
    const QString real = file.canonicalFilePath();
    if (!file.isFile() || folder.isEmpty() || !real.startsWith(folder + QLatin1Char('/')))
        return QString();
    return QDir::toNativeSeparators(QDir::cleanPath(file.absoluteFilePath()));
}

// A file of the user's as stored: "./" and its path from the photo folder when it lies inside
// (so it follows the folder when that moves), else its full path.
QString ownFileName(const QString& path, const QString& photoFolder)
{
    if (!insidePhotoFolder(path, photoFolder).isEmpty())
        return QStringLiteral("./") +
               QDir(QFileInfo(photoFolder).canonicalFilePath()).relativeFilePath(QFileInfo(path).canonicalFilePath());
    return sameFolder(QFileInfo(path).absoluteFilePath());
}

// The background image as stored: its name when it is one of 背景画像, else as ownFileName.
QString backgroundName(const AlbumOptions& o)
{
    if (o.backgroundFile.isEmpty())
        return QString();
    const QFileInfo file(o.backgroundFile);
    if (sameFolder(file.absolutePath()) == sameFolder(BackgroundList::imageFolder(o.programFolder)))
        return file.fileName();
    return ownFileName(o.backgroundFile, o.photoFolder);
}

QString backgroundPath(const QString& stored, const QString& programFolder)
{
    if (!plainName(stored))
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
    add("theme",
        plainName(o.themeFile) || o.themeFile.isEmpty() ? o.themeFile : ownFileName(o.themeFile, o.photoFolder));
    add("backgroundImage", backgroundName(o));
    add("cover", QString::number(std::clamp(o.coverNumber, 0, MaxPhotos)));
    add("effect", QString::number(std::clamp(o.coverEffect, 0, AlbumOptions::EffectCount - 1)));
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices())
        add(choice.key, choice.words.at(std::clamp(o.*choice.member, 0, int(choice.words.size()) - 1)));
    add("showTime", o.showTime);
    for (const AlbumOptions::Switch& flag : AlbumOptions::switches())
        add(flag.key, o.*flag.member ? QStringLiteral("yes") : QStringLiteral("no"));
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
    for (const AlbumOptions::Switch& flag : AlbumOptions::switches())
        if (!flag.addedLater)
            required << QLatin1String(flag.key);
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices())
        if (!choice.addedLater)
            required << QLatin1String(choice.key);
    for (const char* key : OtherKeys)
        required << QLatin1String(key);
    for (const QString& key : required)
        if (!values.contains(key))
            return std::nullopt;

    AlbumOptions o;
    o.programFolder = programFolder;
    // An option added later and missing from the file: off, as albums were made before it existed.
    for (const AlbumOptions::Switch& flag : AlbumOptions::switches()) {
        const QString value = values.value(QLatin1String(flag.key), QStringLiteral("no"));
        if (value != QLatin1String("yes") && value != QLatin1String("no"))
            return std::nullopt;
        o.*flag.member = value == QLatin1String("yes");
    }
    o.title = values.value(QStringLiteral("title"));
    o.colorName = values.value(QStringLiteral("colour"));
    o.themeFile = values.value(QStringLiteral("theme"));
    o.backgroundFile = backgroundPath(values.value(QStringLiteral("backgroundImage")), programFolder);
    o.showTime = values.value(QStringLiteral("showTime"));
    // Values the window could not show are damage, not something to guess at.
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices()) {
        const auto index = AlbumOptions::wordIndex(
            choice, values.value(QLatin1String(choice.key), choice.words.constFirst())); // missing: the first word
        if (!index)
            return std::nullopt;
        o.*choice.member = *index;
    }
    const auto cover = number(values.value(QStringLiteral("cover")), 0, MaxPhotos);
    const auto effect = number(values.value(QStringLiteral("effect")), 0, AlbumOptions::EffectCount - 1);
    if (!AlbumOptions::validTitle(o.title) || !AlbumOptions::validColor(o.colorName) || !cover || !effect ||
        !AlbumOptions::validShowTime(o.showTime))
        return std::nullopt;
    o.coverNumber = *cover;
    o.coverEffect = *effect;
    return o;
}

AlbumOptions load(const QString& photoFolder, const QString& programFolder, Refused* refused)
{
    AlbumOptions start;
    start.photoFolder = photoFolder;
    start.programFolder = programFolder;
    if (refused)
        *refused = Refused{};
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
    // Only files the program ships, by name, and files inside the photo folder are taken from the
    // file: anything else (a file gone since, a path that leads out of the folder, a file of
    // another folder given on a command line once) gives the start value of that choice alone.
    const QString theme = read->themeFile;
    if (!theme.isEmpty()) {
        read->themeFile = plainName(theme) ? (QFileInfo(read->themePath()).isFile() ? theme : QString())
                                           : insidePhotoFolder(theme, photoFolder);
        if (read->themeFile.isEmpty() && refused)
            refused->theme = theme;
    }
    const QString background = read->backgroundFile;
    if (!background.isEmpty()) {
        const bool shipped = sameFolder(QFileInfo(background).absolutePath()) ==
                                 sameFolder(BackgroundList::imageFolder(programFolder)) &&
                             plainName(QFileInfo(background).fileName());
        read->backgroundFile = shipped ? (QFileInfo(background).isFile() ? background : QString())
                                       : insidePhotoFolder(background, photoFolder);
        if (read->backgroundFile.isEmpty()) {
            read->background = false;
            if (refused)
                refused->background = background;
        }
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

Remembered rememberCreation(AlbumOptions options, int photoCount, const GenerationResult& result, QString* error)
{
    if (result.cancelled || !result.failedPages.isEmpty())
        return Remembered::NotWhole;
    options.coverNumber = options.coverFor(photoCount);
    return save(options, error) ? Remembered::Saved : Remembered::Failed;
}

} // namespace AlbumOptionsFile
