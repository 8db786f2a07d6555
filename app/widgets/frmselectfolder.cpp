// SPDX-License-Identifier: MIT
#include "app/widgets/frmselectfolder.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStorageInfo>

#include <algorithm>

#include "app/widgets/folderlist.h"
#include "design/widgets/dialogsupport.h"

namespace
{

constexpr int Tw = frmSelectFolder::TwipsPerPixel;
constexpr int Margin = 240;    // left and right margins, and the buttons' top
constexpr int ButtonGap = 360; // between the lists and the buttons
constexpr int DriveTop = 600;
constexpr int ListGap = 60;    // between the drive list and the folder list
constexpr int BottomGap = 120; // between the folder list and the status bar
constexpr int ButtonWidth = 1215;
constexpr int ButtonHeight = 375;

int pixels(int twips)
{
    return qMax(1, twips / Tw);
}

// The mounted file systems that can hold photo folders, the root always among them.
QStringList mountedRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(QDir::cleanPath(volume.rootPath()));
    }
    for (const QFileInfo& drive : QDir::drives())
        roots.append(QDir::cleanPath(drive.absoluteFilePath()));
    std::sort(roots.begin(), roots.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

bool liesUnder(const QString& folder, const QString& root)
{
    if (folder.compare(root, Qt::CaseSensitivity(QDir::separator() == QLatin1Char('\\') ? Qt::CaseInsensitive
                                                                                        : Qt::CaseSensitive)) == 0)
        return true;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.startsWith(prefix, QDir::separator() == QLatin1Char('\\') ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

} // namespace

frmSelectFolder::frmSelectFolder(const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_programFolder(QDir::cleanPath(QDir::fromNativeSeparators(programFolder)))
{
    setObjectName(QStringLiteral("frmSelectFolder"));
    setWindowTitle(tr("フォルダの選択"));

    lblMemo = new QLabel(tr("フォルダを選択してください"), this);
    lblMemo->setObjectName(QStringLiteral("lblMemo"));
    drvDrive = new QComboBox(this);
    drvDrive->setObjectName(QStringLiteral("drvDrive"));
    dirFolder = new FolderList(this);
    dirFolder->setObjectName(QStringLiteral("dirFolder"));
    cmdOk = new QPushButton(tr("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    m_driveRoots = mountedRoots();
    {
        const QSignalBlocker quiet(drvDrive);
        for (const QString& root : m_driveRoots)
            drvDrive->addItem(QDir::toNativeSeparators(root), root);
        drvDrive->setCurrentIndex(-1);
    }

    lblMemo->move(Margin / Tw, Margin / Tw);
    lblMemo->adjustSize();
    drvDrive->move(Margin / Tw, DriveTop / Tw);
    cmdOk->resize(ButtonWidth / Tw, ButtonHeight / Tw);
    cmdCancel->resize(ButtonWidth / Tw, ButtonHeight / Tw);
    cmdOk->move(0, Margin / Tw);
    cmdCancel->move(0, 720 / Tw);
    setMinimumSize(1, 1);
    resize(6360 / Tw, 5640 / Tw);

    connect(drvDrive, &QComboBox::currentIndexChanged, this, &frmSelectFolder::drvDrive_Change);
    connect(dirFolder, &FolderList::pathChanged, this, &frmSelectFolder::dirFolder_Change);
    connect(cmdOk, &QPushButton::clicked, this, &frmSelectFolder::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectFolder::cmdCancel_Click);
}

frmSelectFolder::Layout frmSelectFolder::layoutTwips(int innerWidth, int innerHeight, int okWidth, int statusBarHeight,
                                                     int driveListHeight, int driveListTop)
{
    Layout l;
    l.listWidth = qMax(1, innerWidth - (okWidth + Margin + ButtonGap + Margin));
    l.folderListHeight =
        qMax(1, innerHeight - (statusBarHeight + (driveListHeight + driveListTop + ListGap) + BottomGap));
    l.buttonLeft = innerWidth - (okWidth + Margin);
    return l;
}

int frmSelectFolder::driveOf(const QString& folder) const
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    int best = -1;
    for (int i = 0; i < m_driveRoots.size(); ++i)
        if (liesUnder(clean, m_driveRoots.at(i)) &&
            (best < 0 || m_driveRoots.at(i).size() > m_driveRoots.at(best).size()))
            best = i;
    return best;
}

void frmSelectFolder::showEvent(QShowEvent* event)
{
    // The caller sets FolderName between construction and showing, so the start-up work waits
    // for the first showing.
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    QDialog::showEvent(event);
}

void frmSelectFolder::Form_Load()
{
    applyLayout();
    DialogSupport::centreOnScreen(this);
    if (m_folderName.isEmpty())
        m_folderName = QDir::toNativeSeparators(m_programFolder);
    const QString start = QDir::cleanPath(QDir::fromNativeSeparators(m_folderName));
    const int drive = driveOf(start);
    if (drive >= 0) {
        if (drive == drvDrive->currentIndex())
            drvDrive_Change(drive);
        else
            drvDrive->setCurrentIndex(drive);
    }
    // A starting folder that does not exist leaves the list where the drive put it.
    dirFolder->setPath(start);
}

void frmSelectFolder::drvDrive_Change(int index)
{
    if (index < 0 || index >= m_driveRoots.size())
        return;
    const QString root = m_driveRoots.at(index);
    // A drive that is not ready (or has lost its last folder) leaves the list as it was.
    dirFolder->setPath(m_driveCurrent.value(index, root));
    // The program's own drive opens on the program's folder.
    if (driveOf(m_programFolder) == index)
        dirFolder->setPath(m_programFolder);
}

void frmSelectFolder::dirFolder_Change(const QString& path)
{
    StatusBar1->showMessage(QDir::toNativeSeparators(path));
    const int drive = driveOf(path);
    if (drive >= 0)
        m_driveCurrent.insert(drive, path);
}

void frmSelectFolder::cmdOk_Click()
{
    if (!dirFolder->path().isEmpty())
        m_folderName = QDir::toNativeSeparators(dirFolder->path());
    m_usrTag = QStringLiteral("OK");
    accept();
}

void frmSelectFolder::cmdCancel_Click()
{
    m_usrTag = QStringLiteral("ｷｬﾝｾﾙ");
    reject();
}

void frmSelectFolder::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    applyLayout();
}

void frmSelectFolder::applyLayout()
{
    const int statusHeight = StatusBar1->sizeHint().height();
    const int driveHeight = drvDrive->sizeHint().height();
    const Layout l =
        layoutTwips(width() * Tw, height() * Tw, cmdOk->width() * Tw, statusHeight * Tw, driveHeight * Tw, DriveTop);
    drvDrive->setGeometry(Margin / Tw, DriveTop / Tw, pixels(l.listWidth), driveHeight);
    dirFolder->setGeometry(Margin / Tw, (DriveTop + driveHeight * Tw + ListGap) / Tw, pixels(l.listWidth),
                           pixels(l.folderListHeight));
    cmdOk->move(l.buttonLeft / Tw, cmdOk->y());
    cmdCancel->move(l.buttonLeft / Tw, cmdCancel->y());
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
}
