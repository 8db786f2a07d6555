// SPDX-License-Identifier: MIT
#include "design/widgets/dialogsupport.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
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

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    // Before the first show the frame is not known yet; the outer size is then the inner size.
    const QSize outer = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.topLeft() + centredTopLeft(area.size(), outer));
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
