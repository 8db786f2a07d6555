// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

class QWidget;

/// What the program's small dialogs share: placement in the middle of the screen and the one
/// information message they show. GUI thread.
namespace DialogSupport
{

/// ((screen - window) / 2) per axis, the fraction dropped, each at least 0.
QPoint centredTopLeft(const QSize& screen, const QSize& window);
/// Moves the window to centredTopLeft on its screen (the primary screen before it is shown), and
/// again from the size it is shown at when it is first shown.
void centreOnScreen(QWidget* window);

/// Shows an information message box with only an OK button; the title is the caller's caption.
void information(QWidget* parent, const QString& title, const QString& text);
/// The same without an icon.
void plainMessage(QWidget* parent, const QString& title, const QString& text);

/// Replaces both message boxes, e.g. in tests, so nothing waits for a click. An empty function
/// restores the real message box. Receives (parent, title, text).
using MessageHook = std::function<void(QWidget*, const QString&, const QString&)>;
void setInformationHook(MessageHook hook);

} // namespace DialogSupport
