// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QVector>

#include <memory>

#include "generate/albumgenerator.h"

class QLabel;
class QProgressBar;
class QPushButton;

/// "Lumivert作成": the generation's progress window. Runs AlbumGenerator::run off the GUI thread
/// when shown, shows its progress texts and bar, requests stop on "ｷｬﾝｾﾙ(&C)" (UserTag becomes
/// "ｷｬﾝｾﾙ" at once), and closes itself when the job ends.
class frmCreateAlbum : public QDialog
{
    Q_OBJECT
public:
    frmCreateAlbum(const AlbumOptions& options, const QVector<PhotoRow>& photos, QWidget* parent = nullptr);
    ~frmCreateAlbum() override;
    /// 1 = new album, 2 = page style only; any other value is ignored.
    void setUserMode(int mode);
    int UserMode() const { return m_userMode; }
    QString UserTag() const { return m_userTag; }
    const GenerationResult& result() const;
    /// The generation ran to its end (result() is its outcome), cancelled or not.
    bool finished() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Job;
    std::unique_ptr<Job> m_job;
    int m_userMode = 1;
    QString m_userTag = QStringLiteral("OK");
    QLabel* lblMessage;
    QProgressBar* ProgressBar1;
    QPushButton* cmdCancel;
};
