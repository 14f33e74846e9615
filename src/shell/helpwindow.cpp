#include "helpwindow.h"

#include "images.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Topic {
    const char *name;
    const char *title;  // UTF-8
    const char *text;   // UTF-8; an empty line starts a paragraph
};

const Topic topics[] = {
    {"UpdateSETINGS", "Nápověda – Hranice směn",
     "Záznam s číslem (id) 1 určuje, do které směny patří práce podle času příchodu. Ostatní "
     "záznamy program nepoužívá.\n\n"
     "• ranni do – nejpozdější příchod, který ještě patří do ranní směny;\n"
     "• odpoledni do – nejpozdější příchod, který ještě patří do odpolední směny;\n"
     "• nocni do – nejpozdější ranní příchod, který ještě patří do noční směny; od tohoto času "
     "začíná ranní směna.\n\n"
     "Časy se zadávají jako hodiny a minuty, například 4:00, 12:00 a 20:00. Příchod přesně v čas "
     "hranice patří do dřívější směny. Čas 0:00 znamená totéž co nezadaný čas.\n\n"
     "Číslo záznamu se zadává ručně a nesmí se opakovat. Změna hranic se projeví až při příštím "
     "spuštění programu."},
    {"Updategcu_alarm", "Nápověda – Alarmové výstupy",
     "Každý záznam určuje jednotku GCU a její výstup, který slouží jako alarmový výstup.\n\n"
     "• id – číslo záznamu; nový záznam dostane další volné číslo, které lze přepsat, ale nesmí "
     "se opakovat;\n"
     "• verze gcu – verze jednotky (1 nebo 2);\n"
     "• cislo gcu – číslo jednotky, jak je uvedeno v nastavení GCU;\n"
     "• alarm vystup – číslo výstupu jednotky, na který je alarm připojen.\n\n"
     "Hodnoty se ukládají tak, jak jsou zapsány; program je nekontroluje ani nehledá jednotku "
     "v nastavení GCU."},
};

const Topic *findTopic(const QString &topic)
{
    for (const Topic &t : topics)
        if (topic == QLatin1String(t.name))
            return &t;
    return nullptr;
}

} // namespace

bool HelpWindow::hasText(const QString &topic)
{
    return findTopic(topic) != nullptr;
}

QString HelpWindow::helpText(const QString &topic)
{
    if (const Topic *t = findTopic(topic))
        return QString::fromUtf8(t->text);
    return QStringLiteral("K tomuto oknu (%1) zatím není nápověda k dispozici.").arg(topic);
}

QString HelpWindow::helpTitle(const QString &topic)
{
    if (const Topic *t = findTopic(topic))
        return QString::fromUtf8(t->title);
    return QStringLiteral("Nápověda");
}

HelpWindow::HelpWindow(const QString &topic, QWidget *owner)
    : QDialog(owner)
    , m_topic(topic)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("help_") + topic);
    setWindowTitle(helpTitle(topic));
    setWindowIcon(Images::icon(Images::Program));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setModal(false);

    m_text = new QLabel(helpText(topic), this);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // About sixty average characters a line: short enough to read at a glance.
    m_text->setFixedWidth(fontMetrics().averageCharWidth() * 60);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(QStringLiteral("Zavřít"), QDialogButtonBox::RejectRole);
    close->setIcon(Images::icon(Images::Storno));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

HelpWindow *HelpWindow::showTopic(const QString &topic, QWidget *owner)
{
    HelpWindow *window = nullptr;
    if (owner) {
        for (HelpWindow *open : owner->findChildren<HelpWindow *>(Qt::FindDirectChildrenOnly))
            if (open->topic() == topic && !open->isHidden())
                window = open;
    }
    if (!window)
        window = new HelpWindow(topic, owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
