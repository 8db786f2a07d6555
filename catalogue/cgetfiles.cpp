// SPDX-License-Identifier: MIT
#include "catalogue/cgetfiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

clsGetFiles* colGetFiles::Add(const QString& path, int position, bool before)
{
    return OrderedList<clsGetFiles>::Add(clsGetFiles{path, GetFileName(path)}, position, before);
}

QString colGetFiles::GetFileName(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    return slash < 0 ? path : path.mid(slash + 1);
}

bool CGetFiles::GetFiles(const QString& folder, const QString& pattern)
{
    m_error = 0;
    m_folder = folder;
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return true;
    // QDir::Files without QDir::Hidden leaves out folders and dot files; the name filter is
    // matched without regard to case, as on the platform the lists were designed for.
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    dir.setNameFilters({pattern});
    dir.setSorting(QDir::NoSort);
    QStringList names = dir.entryList();
    if (names.isEmpty() && !QFileInfo(folder).isReadable()) {
        m_error = 70;  // permission denied
        return false;
    }
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    const QString prefix = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    for (const QString& name : names) {
        if (m_record.Count() >= m_recMax)
            break;
        if (name.startsWith(QLatin1Char('.')))
            continue;
        m_record.Add(prefix + name);
    }
    return true;
}
