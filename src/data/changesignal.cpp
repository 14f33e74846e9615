#include "changesignal.h"

#include "datacontext.h"
#include "filemanager.h"
#include "schema.h"

bool raiseChangeSignal(DataContext &ctx, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    // A counted open of its own: a form that opened STATE keeps it open, a caller that did not
    // gets it closed again.
    FileManager &state = ctx.file(TableId::STATE);
    state.open();
    struct Closer {
        FileManager &fm;
        ~Closer() { fm.close(); }
    } closer{state};
    if (!state.use())
        return fail(QStringLiteral("table %1 not available").arg(QLatin1String(state.def().externalName)));
    // Joined to a running transaction, the signal would be rolled back with whatever failed in
    // it: it is committed before the save, never inside one.
    if (ctx.store().inTransaction())
        return fail(QStringLiteral("transaction already running"));
    const StoreResult r = ctx.store().upsertField(TableId::STATE, STA::ID, QVariant(qlonglong(1)), STA::READY2UPDATE,
                                                  QVariant(qlonglong(1)));
    if (!r.ok())
        return fail(r.text);
    if (error)
        error->clear();
    return true;
}
