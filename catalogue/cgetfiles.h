// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "components/orderedlist.h"

/// One listed file.
struct clsGetFiles {
    QString PathName;  // folder + separator + file name
    QString FileName;  // the part of PathName after its last separator
};

/// The listed files, in listing order, 1-based.
class colGetFiles : public OrderedList<clsGetFiles>
{
public:
    clsGetFiles* Add(const QString& path, int position = 0, bool before = false);
    /// The characters after the last separator; the whole path when it has none; "" when it ends
    /// with one. Both '/' and the platform's native separator count.
    static QString GetFileName(const QString& path);
};

/// Lists the ordinary files of one folder that match a wildcard pattern. Letter case is ignored in
/// the match; folders and hidden files are never listed; names come in ascending, case-insensitive
/// order within one call. Two calls accumulate into Record() under one RecMax.
class CGetFiles
{
public:
    QString Folder() const { return m_folder; }
    void setRecMax(int recMax) { m_recMax = recMax; }
    colGetFiles& Record() { return m_record; }
    const colGetFiles& Record() const { return m_record; }
    int Error() const { return m_error; }

    /// True on success, also for a missing folder or no match (nothing is added then).
    bool GetFiles(const QString& folder, const QString& pattern);

private:
    QString m_folder;
    int m_recMax = 999;
    colGetFiles m_record;
    int m_error = 0;
};
