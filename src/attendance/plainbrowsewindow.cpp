#include "plainbrowsewindow.h"

#include "browsemodel.h"
#include "datacontext.h"
#include "images.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

PlainBrowseWindow::PlainBrowseWindow(const QString &procedure, DataContext &context, TableId table,
                                     Design design, QWidget *parent)
    : ProcedureWindow(procedure, context, parent)
    , m_table(table)
    , m_form(std::move(design.form))
    , m_blueWallpaper(design.blueWallpaper)
{
    setWindowTitle(design.title);
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    m_sheet = new QTabWidget(this);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    auto *page = new QWidget;
    m_sheet->addTab(page, design.tabCaption);

    m_list = new BrowseList(context, table, page);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setColumns(std::move(design.columns));
    m_list->setOrders({BrowseOrder::byKey(design.key)});
    m_list->setStatusTip(design.statusText);
    m_list->view()->setStatusTip(design.statusText);

    auto button = [this](QWidget *parentWidget, Images::Icon icon, const QString &text, const QString &tip,
                         const char *name) {
        auto *b = new QPushButton(Images::icon(icon), text, parentWidget);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFixedSize(duX(45), duY(14));
        return b;
    };
    m_insert = button(page, Images::New, QStringLiteral("&Vlož"), QStringLiteral("Přidání záznamu"), "insert");
    m_change = button(page, Images::Edit, QStringLiteral("&Edituj"), QStringLiteral("Změna záznamu"), "change");
    m_delete = button(page, Images::Delete, QStringLiteral("&Smaž"), QStringLiteral("Smazání záznamu"), "delete");
    m_close = button(this, Images::Storno, QStringLiteral("&CZavřít"), QStringLiteral("Zavře okno"), "close");

    // The list fills the tab; the record buttons sit under its right end, the close button
    // under the sheet at the right.
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    pageLayout->setSpacing(duY(3));
    pageLayout->addWidget(m_list, 1);
    auto *recordButtons = new QHBoxLayout;
    recordButtons->setSpacing(duX(2));
    recordButtons->addStretch(1);
    recordButtons->addWidget(m_insert);
    recordButtons->addWidget(m_change);
    recordButtons->addWidget(m_delete);
    pageLayout->addLayout(recordButtons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(duX(4), duY(4), duX(4), duY(4));
    layout->setSpacing(duY(3));
    layout->addWidget(m_sheet, 1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(m_close);
    layout->addLayout(closeRow);

    BrowseList::Actions actions;
    actions.insert = [this] { runForm(DataContext::InsertRecord); };
    actions.change = [this] { runForm(DataContext::ChangeRecord); };
    actions.remove = [this] { runForm(DataContext::DeleteRecord); };
    m_list->setActions(actions);
    connect(m_insert, &QPushButton::clicked, this, [this] { runForm(DataContext::InsertRecord); });
    connect(m_change, &QPushButton::clicked, this, [this] { runForm(DataContext::ChangeRecord); });
    connect(m_delete, &QPushButton::clicked, this, [this] { runForm(DataContext::DeleteRecord); });
    connect(m_close, &QPushButton::clicked, this, [this] { placedWindow()->close(); });
    connect(m_list, &BrowseList::readFailed, this, [this] { finish(DataContext::RequestCancelled); });

    setTabOrder(m_list, m_insert);
    setTabOrder(m_insert, m_change);
    setTabOrder(m_change, m_delete);
    setTabOrder(m_delete, m_sheet);
    setTabOrder(m_sheet, m_close);

    setDesignedSize(design.widthDu, design.heightDu, true);
}

PlainBrowseWindow::~PlainBrowseWindow() = default;

void PlainBrowseWindow::runForm(quint8 request)
{
    if (isFinished() || hasRunningChild())
        return;
    if (request != DataContext::InsertRecord && !m_list->hasCurrent())
        return;
    m_list->runForm(this, request, m_form, [this](quint8) { m_list->setFocus(); });
}

void PlainBrowseWindow::openTables()
{
    context().relation(m_table).open();
}

void PlainBrowseWindow::closeTables()
{
    context().relation(m_table).close();
}

bool PlainBrowseWindow::prepareWindow()
{
    // A table that cannot be used has been reported by its file manager: the window stays shut.
    if (!context().file(m_table).use())
        return false;
    m_list->fill();
    if (m_list->model()->hasFailed())
        return false;  // "Chyba při čtení databáze" was shown: the window closes
    listFilled();
    m_list->setFocus();
    return true;
}

void PlainBrowseWindow::resizeEvent(QResizeEvent *event)
{
    ProcedureWindow::resizeEvent(event);
    m_wallpaper = QPixmap();
}

void PlainBrowseWindow::paintEvent(QPaintEvent *event)
{
    if (!m_blueWallpaper) {
        ProcedureWindow::paintEvent(event);
        return;
    }
    // "back_blue.jpg", the wallpaper the login has too.
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}
