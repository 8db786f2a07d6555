// SPDX-License-Identifier: MIT
#include "design/widgets/dialogsupport.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QEvent>
#include <QWidget>

namespace DialogSupport
{

static MessageHook& hook()
{
    static MessageHook installed;
    return installed;
}

QPoint centredTopLeft(const QSize& screen, const QSize& window)
{
    return {qMax(0, (screen.width() - window.width()) / 2), qMax(0, (screen.height() - window.height()) / 2)};
}

namespace
{

void moveToCentre(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    // Before the first show the frame is not known yet; the outer size is then the inner size.
    const QSize outer = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.topLeft() + centredTopLeft(area.size(), outer));
}

// Centres its window once more when it is first shown: the show event comes after the layout has
// given the window the size it is shown at (its least size, longer translated captions) and
// before the window appears.
class CentreOnFirstShow : public QObject
{
public:
    static constexpr const char* Name = "lumivertCentreOnFirstShow";
    explicit CentreOnFirstShow(QWidget* window) : QObject(window), m_window(window) { setObjectName(Name); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            moveToCentre(m_window);
            m_window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_window;
};

} // namespace

void centreOnScreen(QWidget* window)
{
    moveToCentre(window);
    // Found by its name: the class has no meta-object of its own for findChild to cast by.
    if (!window->isVisible() &&
        !window->findChild<QObject*>(QLatin1String(CentreOnFirstShow::Name), Qt::FindDirectChildrenOnly))
        window->installEventFilter(new CentreOnFirstShow(window));
}

void information(QWidget* parent, const QString& title, const QString& text)
{
    if (hook()) {
        hook()(parent, title, text);
        return;
    }
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void plainMessage(QWidget* parent, const QString& title, const QString& text)
{
    if (hook()) {
        hook()(parent, title, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void setInformationHook(MessageHook replacement)
{
    hook() = std::move(replacement);
}

} // namespace DialogSupport
