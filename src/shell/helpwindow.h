#pragma once

#include <QDialog>

class QLabel;

// The program's own help: a small window with a short Czech text for a window's help topic
// (the forms' "&Help" buttons name their topic, "UpdateSETINGS", "Updategcu_alarm"). It stays
// open beside the window it belongs to and closes with "Zavřít"; asking again for the same
// topic from the same window brings the open one forward.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    // Shows the help of `topic` for `owner` (the window whose button asked; it owns the help
    // window, which is deleted when closed). Returns the window shown.
    static HelpWindow *showTopic(const QString &topic, QWidget *owner);

    // The text of a topic; a topic without a text of its own gets a short note saying so.
    static QString helpText(const QString &topic);
    // The title of a topic's help window.
    static QString helpTitle(const QString &topic);
    static bool hasText(const QString &topic);

    QString topic() const { return m_topic; }
    QLabel *textLabel() const { return m_text; }

private:
    HelpWindow(const QString &topic, QWidget *owner);

    QString m_topic;
    QLabel *m_text = nullptr;
};
