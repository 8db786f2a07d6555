// SPDX-License-Identifier: MIT
#include "design/backgroundlist.h"

#include <QDir>

#include "components/imaging.h"

QString BackgroundList::imageFolder(const QString& programFolder)
{
    return programFolder + QDir::separator() + QStringLiteral("背景画像");
}

void BackgroundList::load(const QString& imageFolder)
{
    m_files.Record().Clear();
    m_pictures.clear();
    m_files.setRecMax(999);
    // A missing folder lists nothing; the chooser then shows an empty grid.
    (void)m_files.GetFiles(imageFolder, QStringLiteral("*.jpg"));
    m_pictures.reserve(m_files.Record().Count());
    for (const clsGetFiles& file : m_files.Record()) {
        // Full size: the chooser's cells fit the picture for display, and the background preview
        // shows the image itself. A file that does not decode keeps its number with no picture.
        m_pictures.append(Imaging::load(file.PathName).image);
    }
}

QString BackgroundList::pathName(int number) const
{
    const clsGetFiles* file = m_files.Record().Item(number);
    return file ? file->PathName : QString();
}

QImage BackgroundList::picture(int number) const
{
    if (number < 1 || number > m_pictures.size())
        return {};
    return m_pictures.at(number - 1);
}
