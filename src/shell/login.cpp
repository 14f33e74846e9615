#include "login.h"

#include "datacontext.h"
#include "errorreporter.h"
#include "images.h"
#include "picture.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include <cstdlib>

namespace {

Login::ProgramEnd defaultEnd()
{
    return [](int code) { std::exit(code); };
}

Login::ProgramEnd &programEnd()
{
    static Login::ProgramEnd end = defaultEnd();
    return end;
}

// The person list's columns: "208L(2)|M@s52@16R(2)|M@N4@80R(2)|M~pass~@s1@".
constexpr int NameColumn = 0;
constexpr int NumberColumn = 1;
constexpr int PassColumn = 2;
constexpr int ColumnWidthDu[] = {208, 16, 80};
constexpr int RowIdRole = Qt::UserRole + 1;

QString withoutTrailingBlanks(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

} // namespace

Login::Login(DataContext &context, QWidget *parent)
    : ProcedureWindow(QStringLiteral("Login"), context, parent)
{
    setWindowTitle(QStringLiteral("Window"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setDesignedSize(200, 140, false);

    auto place = [this](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(duX(x), duY(y), duX(width), qMax(duY(height), w->sizeHint().height()));
    };

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("loginPicture"));
    place(m_picture, 8, 6, 184, 62);
    m_picture->setPixmap(Images::loginPicture(m_picture->size()));

    m_model = new QStandardItemModel(0, 3, this);
    m_model->setHorizontalHeaderLabels({QString(), QString(), QStringLiteral("pass")});
    auto *view = new QTreeView;
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_people = new QComboBox(this);
    m_people->setObjectName(QStringLiteral("people"));
    m_people->setModel(m_model);
    m_people->setView(view);
    m_people->setModelColumn(NameColumn);
    int listWidth = 0;
    for (int c = 0; c < 3; ++c) {
        view->setColumnWidth(c, duX(ColumnWidthDu[c]));
        listWidth += duX(ColumnWidthDu[c]);
    }
    view->setMinimumWidth(listWidth + view->frameWidth() * 2);
    place(m_people, 8, 74, 184, 13);
    connect(m_people, &QComboBox::currentIndexChanged, this, &Login::choosePerson);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("HESLO"));
    m_password->setMaxLength(PasswordLength);  // picture "s20"
    m_password->setEchoMode(QLineEdit::Password);
    place(m_password, 8, 94, 184, 13);
    connect(m_password, &QLineEdit::returnPressed, this, [this] { closeWith(DataContext::RequestCompleted); });

    m_ok = new QPushButton(Images::icon(Images::Ok), QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setToolTip(QStringLiteral("Accept operation"));
    m_ok->setStatusTip(QStringLiteral("Accept Operation"));
    m_ok->setDefault(true);
    place(m_ok, 84, 116, 52, 16);
    connect(m_ok, &QPushButton::clicked, this, [this] { closeWith(DataContext::RequestCompleted); });

    m_storno = new QPushButton(Images::icon(Images::Storno), QStringLiteral("Storno"), this);
    m_storno->setObjectName(QStringLiteral("storno"));
    m_storno->setToolTip(QStringLiteral("Cancel Operation"));
    m_storno->setStatusTip(QStringLiteral("Cancel Operation"));
    place(m_storno, 140, 116, 52, 16);
    connect(m_storno, &QPushButton::clicked, this, [this] { closeWith(DataContext::RequestCancelled); });

    setTabOrder(m_people, m_password);
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_storno);
}

Login::~Login() = default;

bool Login::passwordsMatch(const QString &typed, const QString &stored)
{
    return withoutTrailingBlanks(typed.left(PasswordLength)) == withoutTrailingBlanks(stored.left(PasswordLength));
}

void Login::setProgramEnd(ProgramEnd end)
{
    programEnd() = end ? std::move(end) : defaultEnd();
}

void Login::openTables()
{
    context().relation(TableId::ADR_DAT).open();
    fillPeople();
}

void Login::closeTables()
{
    context().relation(TableId::ADR_DAT).close();
}

void Login::fillPeople()
{
    FileManager &fm = context().file(TableId::ADR_DAT);
    m_bookRead = false;
    m_personRead = false;
    m_model->removeRows(0, m_model->rowCount());
    // A table that cannot be used has already been reported by the file manager.
    if (!fm.use())
        return;
    PageRequest request = PageRequest::forKey(fm.def(), ADR::KeyNazev);
    request.limit = 0;  // the whole address book, from the start to the end
    std::vector<Record> rows;
    const OpResult result = fm.readPage(request, &rows);
    if (!result.ok()) {
        reportFailure(result, Operation::Read, fm.def(), false);
        return;
    }
    m_bookRead = true;
    const Picture name = Picture::parse(QStringLiteral("@s52"));
    const Picture number = Picture::parse(QStringLiteral("@N4"));
    const QSignalBlocker quiet(m_people);
    for (const Record &r : rows) {
        auto *nameItem = new QStandardItem(name.format(r.text(ADR::NAZEV)));
        nameItem->setData(r.rowId(), RowIdRole);
        auto *numberItem = new QStandardItem(number.format(r.integer(ADR::KOD)));
        numberItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The column "pass" stays, but shows nothing of anybody's password.
        auto *passItem = new QStandardItem(QString());
        passItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_model->appendRow({nameItem, numberItem, passItem});
    }
    m_people->setCurrentIndex(-1);  // nobody is preselected
}

void Login::choosePerson(int index)
{
    m_personRead = false;
    if (index < 0 || index >= m_model->rowCount())
        return;
    const qint64 rowId = m_model->item(index, NameColumn)->data(RowIdRole).toLongLong();
    // The person's record is read again, so the current ADR_DAT record is that person's.
    m_personRead = context().file(TableId::ADR_DAT).fetchRow(rowId);
}

bool Login::passwordAccepted() const
{
    const QString typed = m_password->text();
    if (m_personRead)
        return passwordsMatch(typed, context().file(TableId::ADR_DAT).record().text(ADR::PASS));
    if (m_bookRead && m_model->rowCount() == 0)
        return passwordsMatch(typed, QString());
    return false;
}

void Login::closeWith(quint8 response)
{
    if (passwordAccepted())
        finish(response);
    else
        refuse();
}

bool Login::canClose()
{
    if (passwordAccepted())
        return true;
    refuse();
    return false;
}

void Login::refuse()
{
    if (m_refusing)
        return;
    m_refusing = true;
    reportMessage(MessageId::WrongPassword);
    // Nothing is written: neither this window's placement nor the program's settings.
    programEnd()(0);
    m_refusing = false;
}

void Login::resizeEvent(QResizeEvent *event)
{
    ProcedureWindow::resizeEvent(event);
    m_wallpaper = QPixmap();
}

void Login::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_wallpaper.size() != size())
        m_wallpaper = Images::loginWallpaper(size());
    QPainter p(this);
    p.drawPixmap(0, 0, m_wallpaper);
}
