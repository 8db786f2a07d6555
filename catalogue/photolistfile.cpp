// SPDX-License-Identifier: MIT
#include "catalogue/photolistfile.h"

#include <QDir>
#include <QFileInfo>

#include "catalogue/cgetfiles.h"
#include "components/photolistmodel.h"
#include "components/sheetfile.h"

namespace PhotoListFile
{

QString path(const QString& photoFolder)
{
    const QString name = QStringLiteral("Lumivert.bin");
    if (photoFolder.endsWith(QLatin1Char('/')) || photoFolder.endsWith(QDir::separator()))
        return photoFolder + name;
    return photoFolder + QDir::separator() + name;
}

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

bool exists(const QString& photoFolder)
{
    return !photoFolder.isEmpty() && QFileInfo(path(photoFolder)).isFile();
}

bool save(const PhotoListModel& model, const QString& photoFolder, const QList<int>& columnWidths, QString* error)
{
    // An empty list is not worth a file, and must not replace a list saved earlier.
    if (model.photoCount() == 0)
        return true;
    if (photoFolder.isEmpty()) {
        if (error)
            *error = QStringLiteral("no photo folder");
        return false;
    }
    return SheetFile::save(path(photoFolder), Sheet{model.rows(), columnWidths}, error);
}

bool load(PhotoListModel& model, const QString& photoFolder, QList<int>* columnWidths, QString* error,
          SheetFile::Pictures pictures)
{
    if (photoFolder.isEmpty()) {
        if (error)
            *error = QStringLiteral("no photo folder");
        return false;
    }
    std::optional<Sheet> sheet = SheetFile::load(path(photoFolder), error, pictures);
    if (!sheet)
        return false;
    // The list belongs to the folder it lies in: each row's photo is the file of its name there,
    // wherever the list was saved. A name with a folder part reaches no file at all.
    for (PhotoRow& row : sheet->rows) {
        if (row.fileName.isEmpty())
            row.fileName = colGetFiles::GetFileName(row.pathName);
        row.pathName =
            isPlainName(row.fileName) ? QDir::toNativeSeparators(QDir(photoFolder).filePath(row.fileName)) : QString();
    }
    // setRows keeps the caption column within its 4096 characters.
    model.setRows(std::move(sheet->rows));
    if (columnWidths)
        *columnWidths = sheet->columnWidths;
    return true;
}

} // namespace PhotoListFile
