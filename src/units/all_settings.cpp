#include "all_settings.h"

#include "browselist.h"
#include "browsemodel.h"
#include "datacontext.h"
#include "images.h"
#include "updategcu_pok.h"
#include "updatekalendar.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

namespace {

// Headings and navigation labels: Tahoma 12 in dark teal.
const QColor headingColour(0, 64, 64);

QFont headingFont()
{
    return QFont(QStringLiteral("Tahoma"), 12);
}

// The pictures of the four pages, drawn on a 24 × 24 grid.
QPixmap pageIcon(all_settings::Page page, int size)
{
    if (page == all_settings::CteckyPage)
        return Images::pixmap(Images::Access, size);
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    const QPen ink(QColor(30, 70, 90), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    switch (page) {
    case all_settings::ObecnePage: {
        // Three sliders of a settings panel.
        for (int i = 0; i < 3; ++i) {
            const qreal y = 6 + i * 6;
            p.drawLine(QPointF(3, y), QPointF(21, y));
            const qreal x = (i == 1) ? 15 : (i == 0 ? 8 : 11);
            p.setBrush(QColor(70, 140, 170));
            p.drawEllipse(QPointF(x, y), 2.4, 2.4);
        }
        break;
    }
    case all_settings::ModemPage: {
        // A mobile telephone with its aerial.
        p.setBrush(QColor(80, 95, 110));
        p.drawRoundedRect(QRectF(7, 5, 10, 17), 2, 2);
        p.drawLine(QPointF(14, 5), QPointF(14, 1.5));
        p.setBrush(QColor(170, 215, 230));
        p.drawRect(QRectF(8.5, 7, 7, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 235, 240));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(8.7 + c * 2.4, 15 + r * 2.6, 1.6, 1.6));
        break;
    }
    case all_settings::KalendarPage: {
        // A calendar sheet with its rings and a grid of days.
        p.setBrush(QColor(250, 250, 252));
        p.drawRect(QRectF(3, 5, 18, 16));
        p.setBrush(QColor(190, 50, 50));
        p.drawRect(QRectF(3, 5, 18, 4));
        p.drawLine(QPointF(8, 3), QPointF(8, 7));
        p.drawLine(QPointF(16, 3), QPointF(16, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 90, 110));
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                p.drawRect(QRectF(5 + c * 4, 11 + r * 3.3, 2.2, 2));
        break;
    }
    default:
        break;
    }
    return pm;
}

// "back_settings2.jpg": a light ground with a darker band behind the navigation buttons.
QPixmap settingsWallpaper(const QSize &size, int bandWidth)
{
    QPixmap pm(size.expandedTo(QSize(1, 1)));
    QPainter p(&pm);
    QLinearGradient ground(0, 0, 0, pm.height());
    ground.setColorAt(0, QColor(236, 242, 246));
    ground.setColorAt(1, QColor(200, 215, 226));
    p.fillRect(pm.rect(), ground);
    QLinearGradient band(0, 0, bandWidth, 0);
    band.setColorAt(0, QColor(150, 185, 195));
    band.setColorAt(1, QColor(196, 220, 226));
    p.fillRect(QRect(0, 0, bandWidth, pm.height()), band);
    p.setPen(QColor(120, 160, 170));
    p.drawLine(bandWidth, 0, bandWidth, pm.height());
    return pm;
}

// The background picture behind a page's list ("back_set2.jpg").
class ListBackground : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawPixmap(0, 0, Images::settingsBackground(size()));
    }
};

} // namespace

all_settings::all_settings(DataContext &context, QWidget *parent)
    : ProcedureWindow(QStringLiteral("all_settings"), context, parent)
{
    setWindowTitle(QStringLiteral("Window"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(524, 337, false);

    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), duY(height));
    };

    m_sheet = new QTabWidget(this);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    place(m_sheet, 142, 4, 378, 304);

    makePage(ObecnePage, QStringLiteral("Obecné nastavení"), false);

    QWidget *ctecky = makePage(CteckyPage, QStringLiteral("Přístupové čtečky"), true);
    m_readers = makeList(ctecky, TableId::GCU_POK, m_readerButtons);
    m_readers->setObjectName(QStringLiteral("readers"));
    m_readers->setColumns({
        BrowseColumn::ofField(GCP::ID_GCU, QString(), 30, Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("n3")),
        BrowseColumn::ofField(GCP::NAZEV, QString(), 157, Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("s30")),
        BrowseColumn::ofField(GCP::SMYCKA, QString(), 39, Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("n3")),
        BrowseColumn::ofField(GCP::POUZITI, QString(), 12, Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("n3")),
    });
    m_readers->setOrders({BrowseOrder::byKey(GCP::PRIMARY)});

    makePage(ModemPage, QStringLiteral("Modem GSM"), false);

    QWidget *kalendar = makePage(KalendarPage, QStringLiteral("Pracovní kalendář"), true);
    m_calendar = makeList(kalendar, TableId::KALENDAR, m_calendarButtons);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setColumns({
        BrowseColumn::ofField(KAL::ROK, QString(), 24, Qt::AlignHCenter, Qt::AlignLeft, QStringLiteral("n-6.0")),
        BrowseColumn::ofField(KAL::MESIC, QString(), 29, Qt::AlignHCenter, Qt::AlignLeft, QStringLiteral("n-3.0")),
        BrowseColumn::ofField(KAL::NAZEV, QString(), 120, Qt::AlignLeft, Qt::AlignLeft, QStringLiteral("s30")),
    });
    m_calendar->setOrders({BrowseOrder::byKey(KAL::KeyKod)});

    // The column headings are texts above the lists, which have no header row of their own.
    auto headings = [&](QWidget *page, const std::vector<std::pair<QString, int>> &columns) {
        int x = 14;
        for (const auto &[text, width] : columns) {
            auto *label = new QLabel(text, page);
            label->setAttribute(Qt::WA_TranslucentBackground);
            place(label, x, 36, width, 10);
            x += width;
        }
    };
    headings(ctecky, {{QStringLiteral("Id"), 30},
                      {QStringLiteral("Název přístupového místa"), 157},
                      {QStringLiteral("Smyčka"), 39},
                      {QStringLiteral("Použití"), 40}});
    headings(kalendar, {{QStringLiteral("Rok"), 24}, {QStringLiteral("Měsíc"), 29}, {QStringLiteral("Název Měsíce"), 120}});

    // The sheet's own tab strip is not shown: the navigation buttons choose the page.
    m_sheet->tabBar()->hide();

    const QString labels[PageCount] = {QStringLiteral("Obecné"), QStringLiteral("Přístupové čtečky"),
                                       QStringLiteral("Modem GSM"), QStringLiteral("Pracovní kalendář")};
    for (int i = 0; i < PageCount; ++i) {
        auto *b = new QPushButton(QIcon(pageIcon(Page(i), 48)), labels[i], this);
        b->setObjectName(QStringLiteral("navigation%1").arg(i + 1));
        b->setFont(headingFont());
        QPalette pal = b->palette();
        pal.setColor(QPalette::ButtonText, headingColour);
        b->setPalette(pal);
        b->setIconSize(QSize(duY(18), duY(18)));
        b->setFlat(true);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        place(b, 6, 30 + i * 30, 131, 24);
        connect(b, &QPushButton::clicked, this, [this, i] { showPage(Page(i)); });
        m_navigation[size_t(i)] = b;
    }

    m_save = new QPushButton(Images::icon(Images::Ok), QStringLiteral("Uložit"), this);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setToolTip(QStringLiteral("Accept operation"));
    place(m_save, 414, 315, 52, 16);
    m_storno = new QPushButton(Images::icon(Images::Storno), QStringLiteral("Storno"), this);
    m_storno->setObjectName(QStringLiteral("storno"));
    m_storno->setToolTip(QStringLiteral("Cancel Operation"));
    place(m_storno, 470, 315, 50, 16);
    // Neither writes: the records were written by their forms.
    connect(m_save, &QPushButton::clicked, this, [this] { finish(DataContext::RequestCompleted); });
    connect(m_storno, &QPushButton::clicked, this, [this] { finish(DataContext::RequestCancelled); });

    connect(m_readerButtons[NovyButton], &QPushButton::clicked, this, [this] { runReaderForm(DataContext::InsertRecord); });
    connect(m_readerButtons[ZmenitButton], &QPushButton::clicked, this, [this] { runReaderForm(DataContext::ChangeRecord); });
    connect(m_readerButtons[SmazatButton], &QPushButton::clicked, this, [this] { runReaderForm(DataContext::DeleteRecord); });
    connect(m_calendarButtons[NovyButton], &QPushButton::clicked, this,
            [this] { runCalendarForm(DataContext::InsertRecord); });
    connect(m_calendarButtons[ZmenitButton], &QPushButton::clicked, this,
            [this] { runCalendarForm(DataContext::ChangeRecord); });
    connect(m_calendarButtons[SmazatButton], &QPushButton::clicked, this,
            [this] { runCalendarForm(DataContext::DeleteRecord); });

    BrowseList::Actions readerActions;
    readerActions.insert = [this] { runReaderForm(DataContext::InsertRecord); };
    readerActions.change = [this] { runReaderForm(DataContext::ChangeRecord); };
    readerActions.remove = [this] { runReaderForm(DataContext::DeleteRecord); };
    m_readers->setActions(readerActions);
    BrowseList::Actions calendarActions;
    calendarActions.insert = [this] { runCalendarForm(DataContext::InsertRecord); };
    calendarActions.change = [this] { runCalendarForm(DataContext::ChangeRecord); };
    calendarActions.remove = [this] { runCalendarForm(DataContext::DeleteRecord); };
    m_calendar->setActions(calendarActions);
    for (BrowseList *list : {m_readers, m_calendar})
        connect(list, &BrowseList::readFailed, this, [this] { finish(DataContext::RequestCancelled); });

    QList<QWidget *> order = {m_sheet};
    for (QPushButton *b : m_navigation)
        order.append(b);
    order.append({m_save, m_storno});
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

all_settings::~all_settings() = default;

QWidget *all_settings::makePage(Page page, const QString &heading, bool withIcon)
{
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("page%1").arg(int(page) + 1));
    m_sheet->addTab(w, QStringLiteral("Tab %1").arg(int(page) + 1));
    int x = 10;
    if (withIcon) {
        auto *icon = new QLabel(w);
        icon->setGeometry(duX(10), duY(6), duY(20), duY(20));
        icon->setPixmap(pageIcon(page, duY(20)));
        x = 36;
    }
    auto *label = new QLabel(heading, w);
    label->setObjectName(QStringLiteral("heading"));
    label->setFont(headingFont());
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, headingColour);
    label->setPalette(pal);
    label->setGeometry(duX(x), duY(8), duX(300), duY(16));
    return w;
}

BrowseList *all_settings::makeList(QWidget *page, TableId table, std::array<QPushButton *, 3> &buttons)
{
    auto *background = new ListBackground(page);
    background->setGeometry(duX(8), duY(30), duX(360), duY(236));
    auto *list = new BrowseList(context(), table, page);
    list->view()->horizontalHeader()->hide();
    list->setGeometry(duX(12), duY(48), duX(352), duY(196));

    const Images::Icon icons[3] = {Images::New, Images::Edit, Images::Delete};
    const QString texts[3] = {QStringLiteral("Nový"), QStringLiteral("Změnit"), QStringLiteral("Smazat")};
    const char *names[3] = {"novy", "zmenit", "smazat"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(Images::icon(icons[i]), texts[i], page);
        b->setObjectName(QLatin1String(names[i]));
        b->setGeometry(duX(210 + i * 52), duY(250), duX(50), duY(14));
        buttons[size_t(i)] = b;
    }
    QWidget::setTabOrder(list, buttons[0]);
    QWidget::setTabOrder(buttons[0], buttons[1]);
    QWidget::setTabOrder(buttons[1], buttons[2]);
    return list;
}

int all_settings::currentPage() const
{
    return m_sheet->currentIndex();
}

void all_settings::showPage(Page page)
{
    m_sheet->setCurrentIndex(int(page));
    m_navigation[size_t(page)]->setChecked(true);
    if (page == CteckyPage)
        m_readers->setFocus();
    else if (page == KalendarPage)
        m_calendar->setFocus();
}

void all_settings::runReaderForm(quint8 request)
{
    if (isFinished() || hasRunningChild())
        return;
    m_readers->runForm(this, request, [](DataContext &c) -> ProcedureWindow * { return new UpdateGCU_POK(c); });
}

void all_settings::runCalendarForm(quint8 request)
{
    if (isFinished() || hasRunningChild())
        return;
    m_calendar->runForm(this, request, [](DataContext &c) -> ProcedureWindow * { return new UpdateKalendar(c); });
}

void all_settings::openTables()
{
    context().relation(TableId::GCU_POK).open();
    context().relation(TableId::KALENDAR).open();
}

void all_settings::closeTables()
{
    context().relation(TableId::GCU_POK).close();
    context().relation(TableId::KALENDAR).close();
}

bool all_settings::prepareWindow()
{
    // A table that cannot be used was reported by its file manager: the window stays shut.
    if (!context().file(TableId::GCU_POK).use() || !context().file(TableId::KALENDAR).use())
        return false;
    m_readers->fill();
    m_calendar->fill();
    if (m_readers->model()->hasFailed() || m_calendar->model()->hasFailed())
        return false;
    showPage(ObecnePage);
    return true;
}

void all_settings::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_wallpaper.size() != size())
        m_wallpaper = settingsWallpaper(size(), duX(140));
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}

ProcedureWindow *startall_settings(DataContext *context)
{
    return new all_settings(*context);
}
