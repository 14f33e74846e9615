#include "waitwindow.h"

#include "images.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

WaitWindow::WaitWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Initializing Database"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    auto *icon = new QLabel(this);
    icon->setPixmap(Images::icon(Images::Database).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto *first = new QLabel(QStringLiteral("This process could take several seconds."), this);
    auto *second = new QLabel(QStringLiteral("Please wait while the program connects to the database."), this);

    auto *texts = new QVBoxLayout;
    texts->addWidget(first);
    texts->addWidget(second);
    texts->addStretch();
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 18, 14);
    row->setSpacing(14);
    row->addWidget(icon);
    row->addLayout(texts, 1);
    setFixedSize(sizeHint());
}

void WaitWindow::runWhile(const std::function<void()> &work)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    WaitWindow window;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = window.frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        window.move(r.topLeft());
    }
    window.show();
    // Let the window paint before the work holds the event loop.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    work();
    window.close();
    QGuiApplication::restoreOverrideCursor();
}
