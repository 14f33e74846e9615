#include "kalendar.h"

#include "updatekalendar.h"

namespace {

PlainBrowseWindow::Design design()
{
    PlainBrowseWindow::Design d;
    d.title = QStringLiteral("Browse the Kalendar file");
    d.widthDu = 280;
    d.heightDu = 198;
    d.statusText = QStringLiteral("Browsing the Kalendar file");
    d.blueWallpaper = true;
    d.key = KAL::KeyKod;
    const Qt::Alignment centre = Qt::AlignHCenter;
    d.columns = {
        BrowseColumn::ofField(KAL::KOD, QStringLiteral("id"), 64, Qt::AlignRight, centre, QStringLiteral("n-14")),
        BrowseColumn::ofField(KAL::NAZEV, QStringLiteral("nazev"), 80, Qt::AlignLeft, Qt::AlignLeft,
                              QStringLiteral("s30")),
        BrowseColumn::ofField(KAL::PRACOVNICH_HODIN, QStringLiteral("prac hodin"), 64, Qt::AlignRight, centre,
                              QStringLiteral("n-14")),
        BrowseColumn::ofField(KAL::PRACOVNICH_DNU, QStringLiteral("prac dni"), 64, Qt::AlignRight, centre,
                              QStringLiteral("n-14")),
        // Decimal alignment: the numbers have no decimals, so they line up on the right.
        BrowseColumn::ofField(KAL::MESIC, QStringLiteral("Mesic"), 12, Qt::AlignRight, centre, QStringLiteral("n-3.0")),
        BrowseColumn::ofField(KAL::ROK, QStringLiteral("Rok"), 24, Qt::AlignRight, centre, QStringLiteral("n-6.0")),
    };
    d.form = [](DataContext &context) -> ProcedureWindow * { return new UpdateKalendar(context); };
    return d;
}

} // namespace

Kalendar::Kalendar(DataContext &context, QWidget *parent)
    : PlainBrowseWindow(QStringLiteral("Kalendar"), context, TableId::KALENDAR, design(), parent)
{
}

ProcedureWindow *startKalendar(DataContext *context)
{
    return new Kalendar(*context);
}
