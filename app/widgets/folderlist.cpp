// SPDX-License-Identifier: MIT
#include "app/widgets/folderlist.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace
{
constexpr int PathRole = Qt::UserRole + 1;
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            openLine(index.row());
    });
}

QString FolderList::linePath(const QListWidgetItem* line)
{
    return line ? line->data(PathRole).toString() : QString();
}

bool FolderList::setPath(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    m_path = clean;
    rebuild();
    Q_EMIT pathChanged(m_path);
    return true;
}

void FolderList::openLine(int row)
{
    const QString target = linePath(item(row));
    if (!target.isEmpty())
        setPath(target);
}

void FolderList::keyPressEvent(QKeyEvent* event)
{
    // Enter opens the highlighted line; it must not reach the dialog's default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        openLine(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::rebuild()
{
    clear();
    // The chain from the root down to the current folder.
    QStringList chain;
    QDir dir(m_path);
    for (;;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = depth == 0 ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto* line = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
        line->setData(PathRole, folder);
        ++depth;
    }
    const int currentLine = count() - 1;
    // Then the subfolders of the current folder, in ascending case-insensitive order.
    QStringList subfolders = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::stable_sort(subfolders.begin(), subfolders.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    for (const QString& name : subfolders) {
        auto* line = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + name, this);
        line->setData(PathRole, QDir(m_path).filePath(name));
    }
    setCurrentRow(currentLine);
}
