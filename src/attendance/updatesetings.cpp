#include "updatesetings.h"

#include "fieldedit.h"
#include "helpwindow.h"
#include "images.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

UpdateSETINGS::UpdateSETINGS(DataContext &context, QWidget *parent)
    : RecordForm(QStringLiteral("UpdateSETINGS"), context, TableId::SETINGS, parent)
{
    setWindowTitle(QStringLiteral("Form SETINGS"));
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
    m_id = entry(QStringLiteral("&id:"), SET::ID, QStringLiteral("@n-14"), 64);
    m_ranni = entry(QStringLiteral("ranni do:"), SET::RANNI_DO, QStringLiteral("@T7"), 40);
    m_odpoledni = entry(QStringLiteral("odpoledni do:"), SET::ODPOLEDNI_DO, QStringLiteral("@T7"), 40);
    m_nocni = entry(QStringLiteral("nocni do:"), SET::NOCNI_DO, QStringLiteral("@T7"), 40);

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
    setTabOrder(m_id, m_ranni);
    setTabOrder(m_ranni, m_odpoledni);
    setTabOrder(m_odpoledni, m_nocni);
    setTabOrder(m_nocni, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_help);
}
