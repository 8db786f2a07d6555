// SPDX-License-Identifier: MIT
#pragma once

#include <QListWidget>

/// The folder list dirFolder: the chain of folders from the root down to the current folder,
/// followed by the current folder's subfolders, each line indented by its depth. Opening a line
/// (double click, Enter) makes it the current folder; merely highlighting one changes nothing.
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);
    /// The current folder, '/'-separated and absolute; empty before the first setPath.
    QString path() const { return m_path; }
    /// Makes an existing folder current; false (and nothing changes) when it is not a folder.
    bool setPath(const QString& folder);
    /// The folder a line stands for.
    static QString linePath(const QListWidgetItem* line);
    /// Opens the line as a double click would.
    void openLine(int row);

Q_SIGNALS:
    void pathChanged(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    QString m_path;
};
