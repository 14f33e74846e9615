#include "updategcu_alarm.h"

#include "fieldedit.h"
#include "helpwindow.h"
#include "images.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

Updategcu_alarm::Updategcu_alarm(DataContext &context, QWidget *parent)
    : RecordForm(QStringLiteral("Updategcu_alarm"), context, TableId::GCU_ALARM, parent)
{
    setWindowTitle(QStringLiteral("Form gcu_alarm"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(163, 98, false);

    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), duY(height));
    };

    auto *sheet = new QTabWidget(this);
    auto *page = new QWidget;
    sheet->addTab(page, QStringLiteral("&1) General"));
    place(sheet, 4, 4, 155, 72);

    int row = 0;
    auto entry = [&](const QString &prompt, int field, const QString &picture, int widthDu) {
        auto *label = new QLabel(prompt, page);
        place(label, 6, 4 + row * 13, 54, 10);
        auto *e = new FieldEdit(picture, page);
        place(e, 64, 2 + row * 13, widthDu, 12);
        label->setBuddy(e);
        bind(e, field);
        setHistoryField(e);
        ++row;
        return e;
    };
    m_id = entry(QStringLiteral("&id:"), ALR::ID, QStringLiteral("@n-14"), 64);
    m_verze = entry(QStringLiteral("verze gcu:"), ALR::VERZE_GCU, QStringLiteral("@n3"), 24);
    m_cislo = entry(QStringLiteral("cislo gcu:"), ALR::CISLO_GCU, QStringLiteral("@n3"), 24);
    m_vystup = entry(QStringLiteral("alarm vystup:"), ALR::ALARM_VYSTUP, QStringLiteral("@n3"), 24);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setToolTip(QStringLiteral("Accept data and close the window"));
    m_ok->setDefault(true);
    place(m_ok, 55, 80, 33, 14);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setToolTip(QStringLiteral("Cancel operation"));
    place(m_cancel, 91, 80, 33, 14);
    m_help = new QPushButton(QStringLiteral("&Help"), this);
    m_help->setObjectName(QStringLiteral("help"));
    m_help->setToolTip(QStringLiteral("See Help Window"));
    place(m_help, 127, 80, 32, 14);
    connect(m_ok, &QPushButton::clicked, this, &RecordForm::accept);
    connect(m_cancel, &QPushButton::clicked, this, &RecordForm::reject);
    connect(m_help, &QPushButton::clicked, this, [this] { HelpWindow::showTopic(helpTopic(), this); });

    setTabOrder(sheet, m_id);
    setTabOrder(m_id, m_verze);
    setTabOrder(m_verze, m_cislo);
    setTabOrder(m_cislo, m_vystup);
    setTabOrder(m_vystup, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_help);
}
