// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

#include "catalogue/photoimport.h"
#include "catalogue/photolistupdate.h"
#include "components/photocheck.h"

/// The words the windows use for what went wrong with photos, folders and files, in the
/// language of the windows and of lumivert-cli. Plain functions; the thread that translates.
class ProblemText
{
    Q_DECLARE_TR_FUNCTIONS(ProblemText)
public:
    struct Report {
        QString text;         // empty: nothing to tell
        bool warning = false; // a warning, else for information only
    };
    /// What the user should hear after an import of folder: a missing folder, one without
    /// photos, photos that could not be read and why, photos left out beyond the limit.
    static Report importReport(const ImportResult& result, const QString& folder);
    /// What a loaded list found in its folder: photos added at the end, photos read afresh, and
    /// (as importReport) photos among them that could not be read or were left out. Vanished
    /// photos are in vanishedQuestion.
    static Report listNewsReport(const ImportResult& read, const ListNews& news, const QString& folder);
    /// Names the listed photos that are no longer in the folder and asks whether to remove them.
    static QString vanishedQuestion(const ListNews& news);
    /// Why one photo could not be read ("このプログラムで読める写真ではありません").
    static QString photoProblem(const PhotoCheck::Finding& finding);
    /// The system's English reason for a failed file operation ("No space left on device") in
    /// the window's language; a reason it does not know is given as it is.
    static QString osReason(const QString& english);
};
