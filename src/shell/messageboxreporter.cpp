#include "messageboxreporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

#include <cstdlib>

MessageBoxReporter::MessageBoxReporter()
    : m_end([](int code) { std::exit(code); })
{
}

MessageBoxReporter::~MessageBoxReporter() = default;

std::unique_ptr<QMessageBox> MessageBoxReporter::createBox(MessageId id, const MessageArgs &args, QWidget *parent)
{
    const MessageKind kind = messageDef(id).kind;
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(messageTitle(id));
    // Plain text: a store's error text may hold '<' and must show as it is.
    box->setTextFormat(Qt::PlainText);
    box->setText(messageText(id, args));
    switch (kind) {
    case MessageKind::Question:
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        // Enter must never delete or give up work by accident.
        box->setDefaultButton(QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
        break;
    case MessageKind::Notice:
        box->setIcon(QMessageBox::Warning);
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    case MessageKind::Fatal:
        box->setIcon(QMessageBox::Critical);
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    }
    return box;
}

ErrorReporter::Answer MessageBoxReporter::report(MessageId id, const MessageArgs &args)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        Answer answer = Answer::Ok;
        QMetaObject::invokeMethod(app, [&] { answer = show(id, args); }, Qt::BlockingQueuedConnection);
        return answer;
    }
    return show(id, args);
}

ErrorReporter::Answer MessageBoxReporter::show(MessageId id, const MessageArgs &args)
{
    const MessageKind kind = messageDef(id).kind;
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    std::unique_ptr<QMessageBox> box = createBox(id, args, parent);
    const int button = box->exec();
    box.reset();
    if (kind == MessageKind::Fatal) {
        m_end(FatalExitCode);
        return Answer::Ok;
    }
    if (kind == MessageKind::Question)
        return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}
