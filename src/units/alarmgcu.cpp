#include "alarmgcu.h"

#include "updategcu_alarm.h"

namespace {

PlainBrowseWindow::Design design()
{
    PlainBrowseWindow::Design d;
    d.title = QStringLiteral("Browse the gcu_alarm file");
    d.widthDu = 204;
    d.heightDu = 198;
    d.tabCaption = QStringLiteral("&1) Keyid");
    d.statusText = QStringLiteral("Browsing the gcu_alarm file");
    d.key = ALR::Keyid;
    auto column = [](int field, const QString &header, int width, const QString &picture) {
        return BrowseColumn::ofField(field, header, width, Qt::AlignRight, Qt::AlignHCenter, picture);
    };
    d.columns = {
        column(ALR::ID, QStringLiteral("id"), 64, QStringLiteral("n-14")),
        column(ALR::VERZE_GCU, QStringLiteral("verze gcu"), 40, QStringLiteral("n3")),
        column(ALR::CISLO_GCU, QStringLiteral("cislo gcu"), 40, QStringLiteral("n3")),
        column(ALR::ALARM_VYSTUP, QStringLiteral("alarm vystup"), 52, QStringLiteral("n3")),
    };
    d.form = [](DataContext &context) -> ProcedureWindow * { return new Updategcu_alarm(context); };
    return d;
}

} // namespace

alarmGCU::alarmGCU(DataContext &context, QWidget *parent)
    : PlainBrowseWindow(QStringLiteral("alarmGCU"), context, TableId::GCU_ALARM, design(), parent)
{
}

ProcedureWindow *startalarmGCU(DataContext *context)
{
    return new alarmGCU(*context);
}
