#include "browsegcu_pok.h"

#include "updategcu_pok.h"

namespace {

PlainBrowseWindow::Design design()
{
    PlainBrowseWindow::Design d;
    d.title = QStringLiteral("Browse the GCU_POK file");
    d.widthDu = 358;
    d.heightDu = 198;
    d.tabCaption = QStringLiteral("Nastavení GCU");
    d.statusText = QStringLiteral("Browsing the GCU_POK file");
    d.blueWallpaper = true;
    d.key = GCP::PRIMARY;
    const Qt::Alignment centre = Qt::AlignHCenter;
    const Qt::Alignment left = Qt::AlignLeft;  // the list's own header alignment
    d.columns = {
        BrowseColumn::ofField(GCP::ID_GCU, QStringLiteral("Č. GCU"), 29, centre, Qt::AlignRight, QStringLiteral("n3")),
        BrowseColumn::ofField(GCP::NAZEV, QStringLiteral("Název GCU"), 120, left, left, QStringLiteral("s30")),
        BrowseColumn::ofField(GCP::ID_POKOJE, QStringLiteral("ID pokoje"), 69, left, left, QStringLiteral("n-14")),
        BrowseColumn::ofField(GCP::ZAMEK_NA_VYSTUPU, QStringLiteral("Výstup"), 30, centre, left, QStringLiteral("n3"), 0),
        BrowseColumn::ofField(GCP::ZPOZDENI_RELE, QStringLiteral("Zpoždění"), 40, centre, centre, QStringLiteral("n3")),
        BrowseColumn::ofField(GCP::SMYCKA, QStringLiteral("Smycka"), 28, centre, centre, QStringLiteral("n3")),
        BrowseColumn::ofField(GCP::VERZE_GCU, QStringLiteral("Verze GCU"), 40, centre, centre, QStringLiteral("n3")),
        BrowseColumn::ofField(GCP::POUZIVAT_ZVUK_OK, QStringLiteral("Zvuk OK"), 36, centre, centre, QStringLiteral("n1")),
        BrowseColumn::ofField(GCP::POUZIVAT_ZVUK_ERROR, QStringLiteral("Zvuk Error"), 43, centre, centre,
                              QStringLiteral("n1")),
        BrowseColumn::ofField(GCP::DELKA_ZVUKU, QStringLiteral("Delka zvuku"), 48, centre, centre,
                              QStringLiteral("n-4.0")),
        BrowseColumn::ofField(GCP::POUZITI, QStringLiteral("pouziti"), 12, centre, centre, QStringLiteral("n3")),
    };
    d.form = [](DataContext &context) -> ProcedureWindow * { return new UpdateGCU_POK(context); };
    return d;
}

} // namespace

BrowseGCU_POK::BrowseGCU_POK(DataContext &context, QWidget *parent)
    : PlainBrowseWindow(QStringLiteral("BrowseGCU_POK"), context, TableId::GCU_POK, design(), parent)
{
}

ProcedureWindow *startBrowseGCU_POK(DataContext *context)
{
    return new BrowseGCU_POK(*context);
}
