// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "app/cprivateprofile.h"

namespace Startup
{

namespace
{
const QString kMain = QStringLiteral("Main");
const QString kFolder = QStringLiteral("Folder");
} // namespace

QString programFolder()
{
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    while (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    return folder;
}

QString joinPath(const QString& folder, const QString& name)
{
    return QDir::toNativeSeparators(folder) + QDir::separator() + name;
}

QString commandLinePath(const QStringList& argumentsAfterProgram)
{
    QString tail = argumentsAfterProgram.join(QLatin1Char(' '));
    if (tail.startsWith(QLatin1Char('"'))) {
        tail.remove(0, 1);
        // Only a closing quote is dropped: an unclosed quote must not cost the path its last letter.
        if (tail.endsWith(QLatin1Char('"')))
            tail.chop(1);
    }
    return tail;
}

CommandLineRequest commandLineRequest(const QStringList& argumentsAfterProgram)
{
    if (argumentsAfterProgram.size() != 1)
        return CommandLineRequest::Run;
    const QString& only = argumentsAfterProgram.first();
    if (only == QLatin1String("--help") || only == QLatin1String("-h"))
        return CommandLineRequest::Help;
    if (only == QLatin1String("--version"))
        return CommandLineRequest::Version;
    return CommandLineRequest::Run;
}

QString windowProgramUsage()
{
    return QStringLiteral("Usage: lumivert [PHOTO_FOLDER]\n"
                          "Opens the Lumivert window, which turns a folder of photos (JPEG, HEIC, HEIF, AVIF)\n"
                          "into a web photo album.\n"
                          "With PHOTO_FOLDER its photos are read at once; the whole command line is one path.\n"
                          "  -h, --help     print this help and exit\n"
                          "  --version      print the version and exit\n"
                          "lumivert-cli makes the same album without a window (lumivert-cli --help).\n");
}

int centredTwips(int screenTwips, int windowTwips)
{
    return std::max(0, (screenTwips - windowTwips) / 2);
}

QPoint placementTwips(int storedLeft, int storedTop, QSize screenTwips, QSize windowTwips)
{
    const int left = storedLeft < 0 ? centredTwips(screenTwips.width(), windowTwips.width()) : storedLeft;
    const int top = storedTop < 0 ? centredTwips(screenTwips.height(), windowTwips.height()) : storedTop;
    return {left, top};
}

bool reachable(const QRect& frame, const QList<QRect>& screens)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), std::min(frame.height(), 20)));
    const int wide = std::min(100, titleBar.width());
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QRect& screen) {
        const QRect on = titleBar & screen;
        return on.width() >= wide && on.height() >= titleBar.height();
    });
}

bool entryExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString columnKey(int column)
{
    return QStringLiteral("C%1").arg(column);
}

Geometry readGeometry(const QString& settingsFile, int columnCount)
{
    const CPrivateProfile profile;
    Geometry g;
    g.top = profile.GetValueLong(settingsFile, kMain, QStringLiteral("Top"));
    g.left = profile.GetValueLong(settingsFile, kMain, QStringLiteral("Left"));
    g.spreadWidth = profile.GetValueLong(settingsFile, kMain, QStringLiteral("SpreadW"));
    for (int i = 1; i <= columnCount; ++i)
        g.columnWidths.push_back(profile.GetValueLong(settingsFile, kMain, columnKey(i)));
    return g;
}

void writeGeometry(const QString& settingsFile, const Geometry& geometry)
{
    const CPrivateProfile profile;
    auto write = [&](const QString& key, int value) {
        (void)profile.SetValueString(settingsFile, kMain, key, CPrivateProfile::numberText(value));
    };
    write(QStringLiteral("Top"), geometry.top);
    write(QStringLiteral("Left"), geometry.left);
    write(QStringLiteral("SpreadW"), geometry.spreadWidth);
    for (int i = 0; i < geometry.columnWidths.size(); ++i)
        write(columnKey(i + 1), geometry.columnWidths.at(i));
}

QString readFolder(const QString& settingsFile)
{
    return CPrivateProfile().GetValueString(settingsFile, kFolder, kFolder, CPrivateProfile::Whole);
}

void writeFolder(const QString& settingsFile, const QString& folder)
{
    // The reader trims blanks around a value and drops one pair of quotes around it.
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; };
    const bool quoted =
        folder.size() >= 2 && (folder.front() == u'"' || folder.front() == u'\'') && folder.back() == folder.front();
    const bool quote = !folder.isEmpty() && (blank(folder.front()) || blank(folder.back()) || quoted);
    (void)CPrivateProfile().SetValueString(settingsFile, kFolder, kFolder,
                                           quote ? QLatin1Char('"') + folder + QLatin1Char('"') : folder);
}

bool folderIsWritable(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".lumivert-probe-XXXXXX")));
    return probe.open();
}

QString settingsFilePath(const QString& programFolder, const std::function<bool(const QString& folder)>& isWritable,
                         const QString& userConfigFolder)
{
    const QString name = QStringLiteral("Lumivert.ini");
    // /usr holds what the package manager installed: not even root writes settings there, so a
    // purge leaves nothing behind.
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(programFolder));
    const bool system = folder == QLatin1String("/usr") || folder.startsWith(QLatin1String("/usr/"));
    if (!system && isWritable(programFolder))
        return joinPath(programFolder, name);
    QString config = userConfigFolder;
    if (config.isEmpty())
        config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return joinPath(joinPath(QDir::toNativeSeparators(config), QStringLiteral("Lumivert")), name);
}

QString interfaceLanguage(const QString& override, const QString& systemLocaleName)
{
    const QString wanted = override.trimmed().toLower();
    for (const QString& code : {QStringLiteral("ja"), QStringLiteral("en")})
        if (wanted == code || wanted.startsWith(code + QLatin1Char('_')) || wanted.startsWith(code + QLatin1Char('-')))
            return code;
    return systemLocaleName.startsWith(QLatin1String("ja"), Qt::CaseInsensitive) ? QStringLiteral("ja")
                                                                                 : QStringLiteral("en");
}

} // namespace Startup
