#include "cardholdercombo.h"

#include "filemanager.h"
#include "picture.h"
#include "schema.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTreeView>

namespace {

constexpr int NameColumn = 0;
constexpr int CodeColumn = 1;
constexpr int NameWidthDu = 208;
constexpr int CodeWidthDu = 16;
constexpr int RowIdRole = Qt::UserRole + 1;

} // namespace

CardHolderCombo::CardHolderCombo(FileManager &people, QWidget *parent)
    : FieldCombo(parent)
    , m_people(people)
    , m_model(new QStandardItemModel(0, 2, this))
{
    m_model->setHorizontalHeaderLabels({QStringLiteral("Nazev"), QStringLiteral("Kod")});
    m_model->horizontalHeaderItem(NameColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_model->horizontalHeaderItem(CodeColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto *view = new QTreeView;
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(QHeaderView::Interactive);
    setModel(m_model);
    setView(view);
    setModelColumn(NameColumn);
    const int charWidth = fontMetrics().averageCharWidth();
    const int nameWidth = (NameWidthDu * charWidth + 2) / 4;
    // The code column holds four digits at least, whatever the font.
    const int codeWidth = std::max((CodeWidthDu * charWidth + 2) / 4, fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    view->setColumnWidth(NameColumn, nameWidth);
    view->setColumnWidth(CodeColumn, codeWidth);
    view->setMinimumWidth(nameWidth + codeWidth + view->frameWidth() * 2);
    connect(this, &QComboBox::activated, this, &CardHolderCombo::choose);
}

bool CardHolderCombo::fillPeople()
{
    const QSignalBlocker quiet(this);
    m_model->removeRows(0, m_model->rowCount());
    m_chosenIndex = -1;
    bool ok = m_people.use();
    if (ok) {
        PageRequest request = PageRequest::forKey(m_people.def(), ADR::KeyNazev);
        request.limit = 0;  // the whole address book
        std::vector<Record> rows;
        const OpResult result = m_people.readPage(request, &rows);
        if (result.ok()) {
            const Picture name = Picture::parse(QStringLiteral("@s52"));
            const Picture code = Picture::parse(QStringLiteral("@N4"));
            for (const Record &r : rows) {
                auto *nameItem = new QStandardItem(name.format(r.text(ADR::NAZEV)));
                nameItem->setData(QVariant(qlonglong(r.integer(ADR::KOD))), Qt::UserRole);
                nameItem->setData(QVariant(qlonglong(r.rowId())), RowIdRole);
                auto *codeItem = new QStandardItem(code.format(r.integer(ADR::KOD)));
                codeItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_model->appendRow({nameItem, codeItem});
            }
        } else {
            reportFailure(result, Operation::Read, m_people.def(), false);
            ok = false;
        }
    }
    // Filling an empty list selects its first row: the list shows the holder again instead.
    if (m_hasShownValue)
        FieldCombo::setFieldValue(m_shownValue);
    else
        setCurrentIndex(-1);
    return ok;
}

void CardHolderCombo::setFieldValue(const QVariant &value)
{
    m_shownValue = value;
    m_hasShownValue = true;
    m_chosenIndex = -1;
    m_emptied = false;
    FieldCombo::setFieldValue(value);
}

bool CardHolderCombo::fieldValue(QVariant *value) const
{
    const int index = currentIndex();
    if (index >= 0 && index == m_chosenIndex) {
        *value = QVariant(qlonglong(m_chosenCode));
        return true;
    }
    if (index < 0 && m_emptied) {
        *value = QVariant(qlonglong(0));
        return true;
    }
    return FieldCombo::fieldValue(value);
}

void CardHolderCombo::choose(int index)
{
    m_emptied = false;
    m_chosenIndex = index;
    m_chosenCode = 0;
    if (index < 0 || index >= m_model->rowCount())
        return;
    const qint64 rowId = m_model->item(index, NameColumn)->data(RowIdRole).toLongLong();
    // The person is read again into a record of its own: the form's person buffer (that of the
    // people window the form may have been started from) stays as it is.
    Record person(TableId::ADR_DAT);
    if (m_people.use() && m_people.store().readByRowId(TableId::ADR_DAT, rowId, &person).ok())
        m_chosenCode = person.integer(ADR::KOD);
}

void CardHolderCombo::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && isEnabled() && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
        setCurrentIndex(-1);
        m_chosenIndex = -1;
        m_emptied = true;
        event->accept();
        return;
    }
    FieldCombo::keyPressEvent(event);
}
