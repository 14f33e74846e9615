#include "updategcu_pok.h"

#include "fieldedit.h"
#include "images.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

UpdateGCU_POK::UpdateGCU_POK(DataContext &context, QWidget *parent)
    : RecordForm(QStringLiteral("UpdateGCU_POK"), context, TableId::GCU_POK, parent)
{
    setWindowTitle(QStringLiteral("Form GCU_POK"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(271, 229, false);

    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), duY(height));
    };

    m_sheet = new QTabWidget(this);
    auto *page = new QWidget;
    m_sheet->addTab(page, QStringLiteral("Obecné nastavení"));
    place(m_sheet, 4, 4, 263, 198);

    auto group = [&](const QString &title, int x, int y, int width, int height) {
        auto *g = new QGroupBox(title, page);
        place(g, x, y, width, height);
        return g;
    };
    // A prompt with its entry (and a hint after it) in a group, at dialog units of the group.
    auto entry = [&](QWidget *g, const QString &prompt, int field, const QString &picture, int x, int y,
                     int promptWidth, int entryWidth, const QString &hint = QString()) {
        auto *label = new QLabel(prompt, g);
        place(label, x, y + 2, promptWidth, 10);
        auto *e = new FieldEdit(picture, g);
        e->setObjectName(QString::fromLatin1(tableDef(TableId::GCU_POK).fields[size_t(field)].name));
        place(e, x + promptWidth + 2, y, entryWidth, 12);
        label->setBuddy(e);
        if (!hint.isEmpty()) {
            auto *h = new QLabel(hint, g);
            place(h, x + promptWidth + entryWidth + 5, y + 2, 24, 10);
        }
        bind(e, field);
        setHistoryField(e);
        return e;
    };

    QGroupBox *obecne = group(QStringLiteral("Obecné"), 6, 4, 243, 46);
    FieldEdit *nazev = entry(obecne, QStringLiteral("Název čtečky:"), GCP::NAZEV, QStringLiteral("@s30"), 8, 12,
                             70, 124);
    FieldEdit *idPokoje = entry(obecne, QStringLiteral("Identifikační číslo:"), GCP::ID_POKOJE,
                                QStringLiteral("@n-14"), 8, 28, 70, 64);

    QGroupBox *nastaveni = group(QStringLiteral("Nastavení"), 6, 54, 243, 46);
    FieldEdit *idGcu = entry(nastaveni, QStringLiteral("Číslo GCU:"), GCP::ID_GCU, QStringLiteral("@n3"), 8, 12,
                             60, 24);
    FieldEdit *verze = entry(nastaveni, QStringLiteral("Verze GCU:"), GCP::VERZE_GCU, QStringLiteral("@n3"), 120, 12,
                             50, 24, QStringLiteral("(1,2)"));
    FieldEdit *smycka = entry(nastaveni, QStringLiteral("Pracovní smycka:"), GCP::SMYCKA, QStringLiteral("@n3"), 8,
                              28, 60, 24);
    FieldEdit *pouziti = entry(nastaveni, QStringLiteral("Použití:"), GCP::POUZITI, QStringLiteral("@n3"), 120, 28,
                               50, 24);

    QGroupBox *vystup = group(QStringLiteral("Výstup"), 6, 104, 118, 60);
    FieldEdit *zamek = entry(vystup, QStringLiteral("Zámek na výstupu:"), GCP::ZAMEK_NA_VYSTUPU,
                             QStringLiteral("@n3"), 6, 14, 62, 22);
    FieldEdit *zpozdeni = entry(vystup, QStringLiteral("Zpozdeni rele:"), GCP::ZPOZDENI_RELE, QStringLiteral("@n3"),
                                6, 32, 62, 22, QStringLiteral("(sec)"));

    QGroupBox *zvuk = group(QStringLiteral("Zvuk:"), 130, 104, 119, 60);
    FieldEdit *zvukError = entry(zvuk, QStringLiteral("Zvuk Error:"), GCP::POUZIVAT_ZVUK_ERROR,
                                 QStringLiteral("@n1"), 6, 12, 48, 16, QStringLiteral("(3)"));
    FieldEdit *zvukOk = entry(zvuk, QStringLiteral("Zvuk OK:"), GCP::POUZIVAT_ZVUK_OK, QStringLiteral("@n1"), 6, 27,
                              48, 16, QStringLiteral("(2)"));
    FieldEdit *delka = entry(zvuk, QStringLiteral("Délka zvuku:"), GCP::DELKA_ZVUKU, QStringLiteral("@n-4.0"), 6, 42,
                             48, 30, QStringLiteral("(20)"));

    m_save = new QPushButton(Images::icon(Images::Ok), QStringLiteral("Uložit"), this);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setToolTip(QStringLiteral("Accept data and close the window"));
    m_save->setDefault(true);
    place(m_save, 163, 207, 50, 16);
    m_storno = new QPushButton(Images::icon(Images::Storno), QStringLiteral("Storno"), this);
    m_storno->setObjectName(QStringLiteral("storno"));
    m_storno->setToolTip(QStringLiteral("Cancel operation"));
    place(m_storno, 217, 207, 50, 16);
    connect(m_save, &QPushButton::clicked, this, &RecordForm::accept);
    connect(m_storno, &QPushButton::clicked, this, &RecordForm::reject);

    // The tab order of the window, which starts at the room's identification number.
    const QList<QWidget *> order = {m_sheet, idPokoje, idGcu, verze, smycka, pouziti, delka, zvukOk,
                                    zvukError, zamek, zpozdeni, nazev, m_save, m_storno};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setFirstField(idPokoje);
}

FieldEdit *UpdateGCU_POK::entry(int field) const
{
    return dynamic_cast<FieldEdit *>(controlFor(field));
}

void UpdateGCU_POK::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    // "back_blue.jpg".
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}
