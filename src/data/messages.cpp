#include "messages.h"

#include <array>

namespace {

constexpr MessageDef table[] = {
    {MessageId::ConfirmDelete, MessageKind::Question, "Potvrzení vymazání", "Opravdu chcete vymazat záznam ?"},
    {MessageId::CancelChanges, MessageKind::Question, "Změny nebudou uloženy!", "Opravdu chcete stornovat operaci?"},
    {MessageId::DuplicateKey, MessageKind::Notice, "Duplicitní klíč", "Přidáním tohoto záznamu vytváříte duplicitní klíč!"},
    {MessageId::RestrictDelete, MessageKind::Notice, "Smazání záznamu",
     "Nemohu smazat kartu, která obsahuje odkaz platné položky.|Odstraňte nejdříve všechny položky a odkazy na tuto kartu!"},
    {MessageId::ChangedByOther, MessageKind::Notice, "Změna nebyla provedena", "Tento záznam byl již změněn jinou stanicí v síti."},
    {MessageId::ChangedByOtherForm, MessageKind::Notice, "Změna nebyla provedena",
     "Tento záznam byl již změněn jinou stanicí v síti. Použijte Ctrl+H pro vrácení změn."},
    {MessageId::ListWriteFailed, MessageKind::Notice, "Chyba",
     "Záznam byl změněn nebo smazán jinou stanicí.|Chyba v přístupu k souboru %File|%ErrorText"},
    {MessageId::RecordLocked, MessageKind::Notice, "Záznam nebyl přečten", "Záznam z databáze %File je blokován jinou stanicí v síti."},
    {MessageId::InsertFailed, MessageKind::Notice, "Vložení záznamu", "Vznikla chyba během vkládaní/uložení záznamu.|%ErrorText"},
    {MessageId::UpdateFailed, MessageKind::Notice, "Záznam nebyl aktualizován !",
     "Vznikla neznámá chyba při pokusu aktualizovat databázi: %File|%ErrorText"},
    {MessageId::DeleteFailed, MessageKind::Notice, "Záznam nebyl smazán !",
     "Vznikla neznámá chyba při pokusu smazat databázi: %File|%ErrorText"},
    {MessageId::RetrySave, MessageKind::Question, "Chyba při ukládání",
     "Vznikla neznámá chyba během ukládání záznamu.|%ErrorText|Chcete pokus opakovat?"},
    {MessageId::RetryDelete, MessageKind::Question, "Chyba při mazání",
     "Vznikla neznámá chyba během mazání záznamu.|%ErrorText|Chcete pokus opakovat?"},
    {MessageId::RetryAutoNumber, MessageKind::Question, "Chyba",
     "Pokus o automatické očíslování záznamu selhal.|Chyba: %ErrorText.|Mám pokus opakovat?"},
    {MessageId::TransactionFailed, MessageKind::Notice, "Transakce přerušena",
     "Při pokusu provést transakci databáze %File vznikla chyba|%ErrorText"},
    {MessageId::ReadFailed, MessageKind::Notice, "Chyba při čtení databáze",
     "Vznikla chyba při čtení záznamu z databáze: %File.|%ErrorText||Otevřené okno bude zavřeno."},
    {MessageId::AccessDenied, MessageKind::Notice, "Přístup odmítnut", "Nemohu provést zápis do databáze: %File.|Otevírám pouze pro čtení."},
    {MessageId::BadKey, MessageKind::Notice, "Špatný klíč", "Klíč v databázi %File je špatný. Je nutno vygenerovat nový klíč."},
    {MessageId::KeyRebuildFailed, MessageKind::Fatal, "Klíč nebyl vytvořen", "Chyba: (%ErrorText) při vytváření klíče v databázi %File."},
    {MessageId::CreateFailed, MessageKind::Fatal, "Chyba databáze", "Při vytváření databáze %File vznikla chyba|%ErrorText"},
    {MessageId::ValueOutOfRange, MessageKind::Notice, "Chybná hodnota", "Hodnota pole %Field je mimo povolený rozsah."},
    {MessageId::NotADatabase, MessageKind::Notice, "Poškozená databáze",
     "Soubor %File není databáze, nebo je poškozen.|Program pokračuje bez této tabulky; soubor zůstává nedotčen.|%ErrorText"},
    {MessageId::WrongPassword, MessageKind::Notice, "", "Nespravne heslo!!!"},
    {MessageId::InvalidValue, MessageKind::Notice, "Chybná hodnota", "%Message"},
    {MessageId::NoRecords, MessageKind::Notice, "Žádné záznamy", "%Message"},
};

} // namespace

const MessageDef &messageDef(MessageId id)
{
    for (const MessageDef &m : table)
        if (m.id == id)
            return m;
    return table[0];
}

QString messageTitle(MessageId id)
{
    return QString::fromUtf8(messageDef(id).title);
}

QString messageText(MessageId id, const MessageArgs &args)
{
    const MessageDef &m = messageDef(id);
    QString t = QString::fromUtf8(m.text);
    // Details are inserted in one pass so that a detail containing "%File" is not expanded again.
    static const std::array<QString, 5> names = {QStringLiteral("%File"), QStringLiteral("%ErrorText"),
                                                 QStringLiteral("%Message"), QStringLiteral("%Field"),
                                                 QStringLiteral("%Procedure")};
    const std::array<const QString *, 5> values = {&args.file, &args.errorText, &args.message, &args.field,
                                                   &args.procedure};
    QString out;
    for (int i = 0; i < t.size();) {
        bool replaced = false;
        if (t.at(i) == QLatin1Char('%')) {
            for (size_t n = 0; n < names.size(); ++n) {
                if (QStringView(t).mid(i).startsWith(names[n])) {
                    out += *values[n];
                    i += int(names[n].size());
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            out += t.at(i) == QLatin1Char('|') ? QChar(QLatin1Char('\n')) : t.at(i);
            ++i;
        }
    }
    if (m.kind == MessageKind::Fatal)
        out += QStringLiteral("  Stiskněte OK pro ukončení programu");
    return out;
}
