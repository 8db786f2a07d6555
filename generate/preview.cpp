// SPDX-License-Identifier: MIT
#include "generate/preview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "components/wholefile.h"
#include "design/cstylesheet.h"
#include "design/stylesheetbackground.h"
#include "generate/albumimages.h"
#include "generate/bastoolsap.h"

namespace Preview
{

namespace
{

// What the preview writes itself; every other file of the sample is copied as it ships.
const QStringList Written = QStringList{QStringLiteral("stylesheet.css")} + StyleSheetBackground::BackgroundFiles;

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// Makes copy hold the sample's files byte for byte; a file already equal is not written again.
bool syncCopy(const QDir& sample, const QString& copy, QString* error)
{
    if (!sample.exists(QStringLiteral("top.htm")))
        return fail(error, QStringLiteral("no sample album in %1").arg(QDir::toNativeSeparators(sample.path())));
    if (copy.isEmpty())
        return fail(error, QStringLiteral("no cache folder for the copy of the sample album"));
    if (!QDir().mkpath(copy))
        return fail(error, QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(copy)));
    const QDir target(copy);
    const QStringList names = sample.entryList(QDir::Files);
    for (const QString& name : names) {
        if (Written.contains(name, Qt::CaseInsensitive))
            continue;
        QString reason;
        const auto bytes = WholeFile::read(sample.filePath(name), &reason);
        if (!bytes)
            return fail(error, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(sample.filePath(name)), reason));
        const QString copied = target.filePath(name);
        if (QFileInfo(copied).size() == bytes->size() && WholeFile::read(copied) == bytes)
            continue;
        reason = WholeFile::write(copied, *bytes);
        if (!reason.isEmpty())
            return fail(error, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(copied), reason));
    }
    // Files a former sample had and this one has not.
    for (const QString& name : target.entryList(QDir::Files))
        if (!names.contains(name) && !Written.contains(name, Qt::CaseInsensitive))
            (void)QFile::remove(target.filePath(name));
    return true;
}

} // namespace

QString folder(const QString& programFolder)
{
    const QString sep = QDir::separator();
    return QDir::toNativeSeparators(programFolder) + sep + QStringLiteral("Preview") + sep + QStringLiteral("Lumivert");
}

QString userFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return QString();
    return QDir::toNativeSeparators(cache + QStringLiteral("/lumivert/Preview/Lumivert"));
}

QString run(const AlbumOptions& options, const QString& copyFolder, QString* error)
{
    if (!syncCopy(QDir(folder(options.programFolder)), copyFolder, error))
        return QString();
    const QString target = QDir::toNativeSeparators(copyFolder);
    const QString sep = QDir::separator();
    for (const QString& name : Written)
        (void)basToolsAp::DeleteFiles(target + sep + name);
    if (options.background)
        (void)AlbumImages::produceBackgroundImage(options.backgroundFile, target);
    CStyleSheet styleSheet;
    // The sample's style sheet, like an album's, names only the background the copy holds.
    (void)styleSheet.CreateCSS(options.themePath(), options.colorName, target);
    return target + sep + QStringLiteral("top.htm");
}

} // namespace Preview
