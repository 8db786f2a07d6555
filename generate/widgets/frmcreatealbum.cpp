// SPDX-License-Identifier: MIT
#include "generate/widgets/frmcreatealbum.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <stop_token>

#include "components/workerpool.h"
#include "design/widgets/dialogsupport.h"

struct frmCreateAlbum::Job {
    AlbumOptions options;
    QVector<PhotoRow> photos;
    std::stop_source stop;
    QFutureWatcher<GenerationResult> watcher;
    GenerationResult result;
    bool started = false;
    bool finished = false;
};

namespace
{
// The generator's progress texts begin with one of these; the window shows that part translated.
constexpr const char* ProgressTexts[] = {
    QT_TRANSLATE_NOOP("AlbumGenerator", "Step1.目次用画像生成  しばらくお待ちください。"),
    QT_TRANSLATE_NOOP("AlbumGenerator", "Step2.ページ用画像生成  しばらくお待ちください。"),
    QT_TRANSLATE_NOOP("AlbumGenerator", "Step3.HTML生成  しばらくお待ちください。"),
};

QString shownProgress(const QString& text)
{
    for (const char* source : ProgressTexts) {
        const QString prefix = QString::fromUtf8(source);
        if (text.startsWith(prefix))
            return QCoreApplication::translate("AlbumGenerator", source) + text.mid(prefix.size());
    }
    return text;
}
} // namespace

frmCreateAlbum::frmCreateAlbum(const AlbumOptions& options, const QVector<PhotoRow>& photos, QWidget* parent)
    : QDialog(parent), m_job(std::make_unique<Job>())
{
    setObjectName(QStringLiteral("frmCreateAlbum"));
    setWindowTitle(tr("Lumivert作成"));
    setModal(true);
    m_job->options = options;
    m_job->photos = photos;

    lblMessage = new QLabel(tr("処理中です。しばらくお待ちください。"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setMinimumWidth(380);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    cmdCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);

    // On the screen's centre, like every window of the program, not over the main window.
    DialogSupport::centreOnScreen(this);

    connect(cmdCancel, &QPushButton::clicked, this, &frmCreateAlbum::reject);
    connect(&m_job->watcher, &QFutureWatcher<GenerationResult>::finished, this, [this] {
        m_job->result = m_job->watcher.result();
        m_job->finished = true;
        if (m_job->result.cancelled)
            m_userTag = QStringLiteral("ｷｬﾝｾﾙ");
        QDialog::done(QDialog::Accepted);
    });
}

frmCreateAlbum::~frmCreateAlbum()
{
    // The job works on its own copies; it only has to end before the watcher goes.
    if (m_job->started && !m_job->finished) {
        m_job->stop.request_stop();
        m_job->watcher.waitForFinished();
    }
}

void frmCreateAlbum::setUserMode(int mode)
{
    if (mode == 1 || mode == 2)
        m_userMode = mode;
}

const GenerationResult& frmCreateAlbum::result() const
{
    return m_job->result;
}

bool frmCreateAlbum::finished() const
{
    return m_job->finished;
}

void frmCreateAlbum::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_job->started)
        return;
    m_job->started = true;
    const GenerationMode mode = m_userMode == 1 ? GenerationMode::NewAlbum : GenerationMode::PageStyleOnly;
    // Progress comes from the worker; it is shown on the GUI thread through a queued call. The
    // window outlives the job (its destructor waits), so the queued calls always find it.
    auto progress = [this](int step, int i, int n) {
        QMetaObject::invokeMethod(
            this,
            [this, step, i, n] {
                lblMessage->setText(shownProgress(AlbumGenerator::progressText(step, i, n)));
                ProgressBar1->setValue(n > 0 ? int(float(i) / float(n) * 100.0f) : 0);
            },
            Qt::QueuedConnection);
    };
    Job* job = m_job.get();
    m_job->watcher.setFuture(QtConcurrent::run(WorkerPool::jobThreads(), [job, mode, progress] {
        WorkerPool::runBelowWindow();
        return AlbumGenerator::run(job->options, job->photos, mode, job->stop.get_token(), progress);
    }));
}

void frmCreateAlbum::reject()
{
    // Cancel: the tag says so at once; the job stops where it may and the window closes when it ends.
    m_userTag = QStringLiteral("ｷｬﾝｾﾙ");
    m_job->stop.request_stop();
    if (!m_job->started || m_job->finished)
        QDialog::reject();
}

void frmCreateAlbum::closeEvent(QCloseEvent* event)
{
    if (m_job->started && !m_job->finished) {
        reject();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
