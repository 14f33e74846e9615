#include "peoplepanel.h"

#include "browselist.h"
#include "datacontext.h"
#include "filemanager.h"
#include "images.h"
#include "procedurewindow.h"
#include "stddatetime.h"
#include "updateadr_dat.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <limits>

namespace {

QDate &fixedToday()
{
    static QDate date;
    return date;
}

} // namespace

PeoplePanel::PeoplePanel(ProcedureWindow *owner, int nameWidthDu, QWidget *parent)
    : QWidget(parent)
    , m_owner(owner)
{
    auto *icon = new QLabel(this);
    icon->setPixmap(Images::pixmap(Images::Attendance, owner->duY(16)));
    auto *heading = new QLabel(QStringLiteral("Uživatelé"), this);
    heading->setObjectName(QStringLiteral("peopleHeading"));
    heading->setFont(headingFont(16));
    QPalette pal = heading->palette();
    pal.setColor(QPalette::WindowText, headingColour());
    heading->setPalette(pal);

    m_list = new BrowseList(owner->context(), TableId::ADR_DAT, this);
    m_list->setObjectName(QStringLiteral("people"));
    m_list->setFont(QFont(QStringLiteral("Tahoma"), 10));
    m_list->setMinimumSize(owner->duX(148), owner->duY(200));
    m_list->view()->setStatusTip(QStringLiteral("Browsing the ADR_DAT file"));
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment centred = Qt::AlignHCenter;
    m_list->setColumns({
        BrowseColumn::ofField(ADR::NAZEV, QStringLiteral("Nazev"), nameWidthDu, left, left, QStringLiteral("@s52")),
        BrowseColumn::ofField(ADR::MESTO, QStringLiteral("Mesto"), 80, left, left, QStringLiteral("@s30")),
        BrowseColumn::ofField(ADR::ULICE, QStringLiteral("Ulice"), 80, left, left, QStringLiteral("@S45")),
        BrowseColumn::ofField(ADR::OSOBNI_CISLO, QStringLiteral("Osobni cislo"), 64, right, centred,
                              QStringLiteral("@n-14")),
        BrowseColumn::ofField(ADR::PSC, QStringLiteral("PSC"), 28, left, left, QStringLiteral("@s6")),
        BrowseColumn::ofField(ADR::STAT, QStringLiteral("Stat"), 80, left, left, QStringLiteral("@s30")),
        BrowseColumn::ofField(ADR::TELEFON1, QStringLiteral("Telefon 1"), 80, left, left, QStringLiteral("@s20")),
        BrowseColumn::ofField(ADR::TELEFON2, QStringLiteral("Telefon 2"), 80, left, left, QStringLiteral("@s20")),
        BrowseColumn::ofField(ADR::KOD, QStringLiteral("Kod"), 20, right, centred, QStringLiteral("@N4")),
    });
    // Codes are unique: the order of the code key is the people's order.
    m_list->setOrders({BrowseOrder::byKey(ADR::KeyKod)});
    m_list->setSortHeaders(true);
    BrowseList::Actions actions;
    actions.insert = [this] { insertPerson(); };
    actions.change = [this] { changePerson(); };
    actions.remove = [this] { deletePerson(); };
    m_list->setActions(actions);

    auto button = [owner, this](const QString &name, const QString &text, const QString &tip, Images::Icon id) {
        auto *b = new QPushButton(Images::icon(id), text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        b->setFixedHeight(owner->duY(14));
        return b;
    };
    m_insert = button(QStringLiteral("insertPerson"), QStringLiteral("&Vlož"), QStringLiteral("Přidání záznamu"),
                      Images::New);
    m_change = button(QStringLiteral("changePerson"), QStringLiteral("&Edituj"), QStringLiteral("Změna záznamu"),
                      Images::Edit);
    m_delete = button(QStringLiteral("deletePerson"), QStringLiteral("&Smaž"), QStringLiteral("Smazání záznamu"),
                      Images::Delete);
    m_close = button(QStringLiteral("close"), QStringLiteral("&CZavřít"), QStringLiteral("Zavře okno"), Images::Storno);
    connect(m_insert, &QPushButton::clicked, this, &PeoplePanel::insertPerson);
    connect(m_change, &QPushButton::clicked, this, &PeoplePanel::changePerson);
    connect(m_delete, &QPushButton::clicked, this, &PeoplePanel::deletePerson);
    connect(m_close, &QPushButton::clicked, owner, [owner] { owner->placedWindow()->close(); });

    // Every event of the list may have moved the highlight, or read the person anew.
    connect(m_list, &BrowseList::currentChanged, this, [this](const Record &r) { emit personChanged(r); });
    connect(m_list, &BrowseList::refilled, this, [this] { emit personChanged(m_list->currentRecord()); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(owner->duX(3), owner->duY(3), owner->duX(3), owner->duY(3));
    layout->setSpacing(owner->duY(3));
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(heading, 1);
    layout->addLayout(head);
    layout->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(owner->duX(2));
    buttons->addWidget(m_insert);
    buttons->addWidget(m_change);
    buttons->addWidget(m_delete);
    layout->addLayout(buttons);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_close);
    layout->addLayout(bottom);
}

PeoplePanel::~PeoplePanel() = default;

qint32 PeoplePanel::personKod() const
{
    return m_list->hasCurrent() ? qint32(m_list->currentRecord().integer(ADR::KOD)) : 0;
}

bool PeoplePanel::hasPerson() const
{
    return m_list->hasCurrent();
}

void PeoplePanel::insertPerson()
{
    m_list->runForm(m_owner, DataContext::InsertRecord,
                    [this](DataContext &c) -> ProcedureWindow * { return new UpdateADR_DAT(c, m_owner); });
}

void PeoplePanel::changePerson()
{
    m_list->runForm(m_owner, DataContext::ChangeRecord,
                    [this](DataContext &c) -> ProcedureWindow * { return new UpdateADR_DAT(c, m_owner); });
}

void PeoplePanel::deletePerson()
{
    m_list->runForm(m_owner, DataContext::DeleteRecord,
                    [this](DataContext &c) -> ProcedureWindow * { return new UpdateADR_DAT(c, m_owner); });
}

QTabBar *PeoplePanel::makePeriodTabs(QWidget *parent)
{
    auto *tabs = new QTabBar(parent);
    tabs->setObjectName(QStringLiteral("periods"));
    tabs->setDrawBase(false);
    for (const char *text : {"Zobrazit vše", "Pouze dnešní", "Pouze včerejší", "Tento měsíc", "Minulý měsíc"})
        tabs->addTab(QString::fromUtf8(text));
    return tabs;
}

QDate PeoplePanel::today()
{
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void PeoplePanel::setTodayForTests(const QDate &date)
{
    fixedToday() = date;
}

std::vector<Condition> PeoplePanel::periodConditions(int period)
{
    const qint32 now = StdDateTime::fromQDate(today());
    const QDate d = today();
    switch (period) {
    case Today:
        return {{LPO::DATUM, Condition::Eq, qlonglong(now)}};
    case Yesterday:
        return {{LPO::DATUM, Condition::Eq, qlonglong(now - 1)}};
    case ThisMonth:
        return {{LPO::DATUM, Condition::Ge, qlonglong(StdDateTime::firstDayOfMonth(d.year(), d.month()))},
                {LPO::DATUM, Condition::Le, qlonglong(StdDateTime::lastDayOfMonth(d.year(), d.month()))}};
    case LastMonth: {
        const QDate before = d.addMonths(-1);
        return {{LPO::DATUM, Condition::Ge, qlonglong(StdDateTime::firstDayOfMonth(before.year(), before.month()))},
                {LPO::DATUM, Condition::Le, qlonglong(StdDateTime::lastDayOfMonth(before.year(), before.month()))}};
    }
    default:
        return {};
    }
}

Condition PeoplePanel::nothing(int field)
{
    return {field, Condition::Eq, QVariant::fromValue(std::numeric_limits<qint64>::min())};
}

QHash<int, QString> PeoplePanel::unitNames(DataContext &context)
{
    QHash<int, QString> names;
    FileManager &units = context.file(TableId::GCU_POK);
    PageRequest request = PageRequest::forKey(units.def(), GCP::PRIMARY);
    request.limit = 0;
    std::vector<Record> rows;
    if (units.readPage(request, &rows).ok())
        for (const Record &r : rows)
            names.insert(int(r.integer(GCP::ID_GCU)), r.text(GCP::NAZEV));
    return names;
}

QFont PeoplePanel::headingFont(int pointSize, bool bold)
{
    QFont f(QStringLiteral("Tahoma"), pointSize);
    f.setBold(bold);
    return f;
}

QColor PeoplePanel::headingColour()
{
    return QColor(0, 128, 128);
}
