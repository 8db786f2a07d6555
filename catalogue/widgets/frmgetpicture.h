// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <stop_token>

#include "catalogue/photoimport.h"

class QLabel;
class QProgressBar;
class QPushButton;
class PhotoListModel;

/// "写真一覧の取得": the import's progress window. Runs PhotoImport::run off the GUI thread when
/// shown, shows "しばらくお待ちください。i/n..." and the bar, stops the job on "ｷｬﾝｾﾙ(&C)", and
/// when the job ends puts its rows into the model (none after a cancel) and closes itself.
class frmGetPicture : public QDialog
{
    Q_OBJECT
public:
    /// The work the window shows: an import, or another reading of photos that gives rows.
    using Job = std::function<ImportResult(std::stop_token stop, const ImportProgress& progress)>;

    frmGetPicture(const QString& folder, PhotoListModel* model, QWidget* parent = nullptr);
    frmGetPicture(Job job, PhotoListModel* model, QWidget* parent = nullptr);
    ~frmGetPicture() override;
    const ImportResult& result() const;

    /// The whole import as the main window runs it: busy cursor, owner disabled, this window shown
    /// modally, owner enabled again. Returns what the import found (cancelled: the model is then
    /// empty; failed photos, photos left out, a missing folder) for the caller to tell the user.
    static ImportResult importFolder(QWidget* owner, const QString& folder, PhotoListModel* model);
    /// The same for a job of the caller's.
    static ImportResult runJob(QWidget* owner, Job job, PhotoListModel* model);

    /// True once the cancel button (or Esc, or the close box) has asked the job to stop.
    bool cancelRequested() const;

Q_SIGNALS:
    /// On the GUI thread, after the label and the bar show photo i of n.
    void progressed(int i, int n);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void start();
    void showProgress(int i, int n);
    void requestCancel();
    void jobFinished();

    struct Running;
    std::unique_ptr<Running> m_job;
    PhotoListModel* m_model;
    QLabel* lblMessage;
    QProgressBar* ProgressBar1;
    QPushButton* cmdCancel;
};
