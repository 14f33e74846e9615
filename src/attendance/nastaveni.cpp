#include "nastaveni.h"

#include "datacontext.h"
#include "updatesetings.h"

namespace {

PlainBrowseWindow::Design design()
{
    PlainBrowseWindow::Design d;
    d.title = QStringLiteral("Browse the SETINGS file");
    d.widthDu = 264;
    d.heightDu = 198;
    d.tabCaption = QStringLiteral("&1) PRIMARY");
    d.statusText = QStringLiteral("Browsing the SETINGS file");
    d.key = SET::PRIMARY;
    auto column = [](int field, const QString &header, const QString &picture) {
        return BrowseColumn::ofField(field, header, 64, Qt::AlignRight, Qt::AlignHCenter, picture);
    };
    d.columns = {
        column(SET::ID, QStringLiteral("id"), QStringLiteral("n-14")),
        column(SET::RANNI_DO, QStringLiteral("ranni do"), QStringLiteral("T7")),
        column(SET::ODPOLEDNI_DO, QStringLiteral("odpoledni do"), QStringLiteral("T7")),
        column(SET::NOCNI_DO, QStringLiteral("nocni do"), QStringLiteral("T7")),
    };
    d.form = [](DataContext &context) -> ProcedureWindow * { return new UpdateSETINGS(context); };
    return d;
}

} // namespace

Nastaveni::Nastaveni(DataContext &context, QWidget *parent)
    : PlainBrowseWindow(QStringLiteral("Nastaveni"), context, TableId::SETINGS, design(), parent)
{
}

void Nastaveni::listFilled()
{
    // The list starts on the current record of the window's SETINGS buffer, when it has one.
    const qint64 current = context().file(TableId::SETINGS).record().rowId();
    if (current != 0)
        list()->selectRowId(current);
}

ProcedureWindow *startNastaveni(DataContext *context)
{
    return new Nastaveni(*context);
}
