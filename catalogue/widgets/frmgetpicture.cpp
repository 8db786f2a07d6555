// SPDX-License-Identifier: MIT
#include "catalogue/widgets/frmgetpicture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFutureWatcher>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <stop_token>

#include "components/workerpool.h"
#include "components/photolistmodel.h"

namespace
{
constexpr int MinimumMessageWidth = 340;
// What a title bar takes beside its caption: icon and buttons.
constexpr int TitleBarRoom = 160;

frmGetPicture::Job importJob(const QString& folder)
{
    return [folder](std::stop_token stop, const ImportProgress& progress) {
        return PhotoImport::run(folder, stop, progress);
    };
}
} // namespace

struct frmGetPicture::Running {
    Job work;
    std::stop_source stop;
    QFutureWatcher<ImportResult> watcher;
    ImportResult result;
    bool started = false;
    bool finished = false;
};

frmGetPicture::frmGetPicture(const QString& folder, PhotoListModel* model, QWidget* parent)
    : frmGetPicture(importJob(folder), model, parent)
{
}

frmGetPicture::frmGetPicture(Job job, PhotoListModel* model, QWidget* parent)
    : QDialog(parent), m_job(std::make_unique<Running>()), m_model(model)
{
    Q_ASSERT(model);
    m_job->work = std::move(job);
    setObjectName(QStringLiteral("frmGetPicture"));
    setWindowTitle(tr("写真一覧の取得"));
    setModal(true);
    // No help button and no way to resize: the window only reports progress.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblMessage = new QLabel(tr("処理中です。しばらくお待ちください。"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    cmdCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addWidget(ProgressBar1);
    layout->addWidget(cmdCancel, 0, Qt::AlignRight);
    // The window's size is fixed by its contents, so the message is given room for its longest
    // text and the title bar for its caption (with the window manager's icon and buttons beside
    // it), in either language; otherwise the window would grow with the count or cut its title.
    const QFontMetrics metrics(lblMessage->font());
    const int longest =
        std::max({metrics.horizontalAdvance(lblMessage->text()),
                  metrics.horizontalAdvance(tr("しばらくお待ちください。%1/%2...").arg(MaxPhotos).arg(MaxPhotos)),
                  metrics.horizontalAdvance(windowTitle()) + TitleBarRoom});
    lblMessage->setMinimumWidth(std::max(MinimumMessageWidth, longest));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdCancel, &QPushButton::clicked, this, &frmGetPicture::requestCancel);
    connect(&m_job->watcher, &QFutureWatcher<ImportResult>::finished, this, &frmGetPicture::jobFinished);
}

frmGetPicture::~frmGetPicture()
{
    // The worker posts its progress to this window; it must be done before the window goes.
    if (m_job->started && !m_job->watcher.isFinished()) {
        m_job->stop.request_stop();
        m_job->watcher.waitForFinished();
    }
}

const ImportResult& frmGetPicture::result() const
{
    return m_job->result;
}

bool frmGetPicture::cancelRequested() const
{
    return m_job->stop.stop_requested();
}

ImportResult frmGetPicture::importFolder(QWidget* owner, const QString& folder, PhotoListModel* model)
{
    return runJob(owner, importJob(folder), model);
}

ImportResult frmGetPicture::runJob(QWidget* owner, Job job, PhotoListModel* model)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (owner)
        owner->setEnabled(false);
    ImportResult result;
    {
        frmGetPicture dialog(std::move(job), model, owner);
        // A disabled owner disables its child windows too; this one must stay usable for Cancel.
        dialog.setEnabled(true);
        dialog.exec();
        result = dialog.result();
    }
    if (owner)
        owner->setEnabled(true);
    QApplication::restoreOverrideCursor();
    return result;
}

void frmGetPicture::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_job->started)
        return;
    // Centred on the screen, never above or left of its corner.
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize size = frameGeometry().size();
        move(area.left() + std::max(0, (area.width() - size.width()) / 2),
             area.top() + std::max(0, (area.height() - size.height()) / 2));
    }
    start();
}

void frmGetPicture::start()
{
    m_job->started = true;
    const Job work = m_job->work;
    const std::stop_token token = m_job->stop.get_token();
    // Progress crosses to the GUI thread as a queued call; the window outlives the job (see the
    // destructor), so the pointer stays good while the worker runs.
    const ImportProgress progress = [this](int i, int n) {
        QMetaObject::invokeMethod(
            this, [this, i, n] { showProgress(i, n); }, Qt::QueuedConnection);
    };
    m_job->watcher.setFuture(QtConcurrent::run(WorkerPool::jobThreads(), [work, token, progress] {
        WorkerPool::runBelowWindow();
        return work(token, progress);
    }));
}

void frmGetPicture::showProgress(int i, int n)
{
    if (m_job->finished || n <= 0)
        return;
    lblMessage->setText(tr("しばらくお待ちください。%1/%2...").arg(i).arg(n));
    ProgressBar1->setValue(int(qint64(i) * 100 / n));
    Q_EMIT progressed(i, n);
}

void frmGetPicture::requestCancel()
{
    m_job->stop.request_stop();
    cmdCancel->setEnabled(false);
}

void frmGetPicture::jobFinished()
{
    m_job->finished = true;
    m_job->result = m_job->watcher.result();
    // A cancel pressed after the last photo was read but before its result arrived still counts:
    // the user asked for no list.
    if (m_job->stop.stop_requested() && !m_job->result.cancelled) {
        m_job->result = ImportResult{};
        m_job->result.cancelled = true;
    }
    if (m_job->result.cancelled)
        m_model->clear();
    else
        m_model->setRows(std::move(m_job->result.rows));
    m_job->result.rows = m_model->rows();
    QDialog::accept();
}

void frmGetPicture::closeEvent(QCloseEvent* event)
{
    // The close box cancels; the window closes when the photo being read is finished.
    if (m_job->started && !m_job->finished) {
        requestCancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmGetPicture::reject()
{
    if (m_job->started && !m_job->finished) {
        requestCancel();
        return;
    }
    QDialog::reject();
}
