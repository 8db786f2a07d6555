// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <QVector>

#include "catalogue/cgetfiles.h"

/// The background images beside the program: the "*.jpg" files of programFolder/背景画像, numbered
/// 1.. in listing order, each with its picture loaded once (null when it cannot be decoded).
class BackgroundList
{
public:
    static QString imageFolder(const QString& programFolder);
    void load(const QString& imageFolder);
    int count() const { return m_files.Record().Count(); }
    const colGetFiles& Record() const { return m_files.Record(); }
    QString pathName(int number) const;  // "" outside 1..count()
    QImage picture(int number) const;    // null outside 1..count() or when it did not decode

private:
    CGetFiles m_files;
    QVector<QImage> m_pictures;
};
