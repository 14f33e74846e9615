#pragma once

#include <QString>

// The program's message table: every message a window or a table operation can raise, with its
// kind, title and Czech text. In a text "|" starts a new line and %File, %ErrorText, %Message,
// %Field and %Procedure are replaced by the details given with the message.

enum class MessageKind { Notice, Question, Fatal };

enum class MessageId {
    ConfirmDelete,        // "Potvrzení vymazání"
    CancelChanges,        // "Změny nebudou uloženy!"
    DuplicateKey,         // "Duplicitní klíč"
    RestrictDelete,       // "Smazání záznamu"
    ChangedByOther,       // "Změna nebyla provedena"
    ChangedByOtherForm,   // "Změna nebyla provedena" ... Ctrl+H
    ListWriteFailed,      // "Chyba"
    RecordLocked,         // "Záznam nebyl přečten"
    InsertFailed,         // "Vložení záznamu"
    UpdateFailed,         // "Záznam nebyl aktualizován !"
    DeleteFailed,         // "Záznam nebyl smazán !"
    RetrySave,            // "Chyba při ukládání"
    RetryDelete,          // "Chyba při mazání"
    RetryAutoNumber,      // "Chyba"
    TransactionFailed,    // "Transakce přerušena"
    ReadFailed,           // "Chyba při čtení databáze"
    AccessDenied,         // "Přístup odmítnut"
    BadKey,               // "Špatný klíč"
    KeyRebuildFailed,     // "Klíč nebyl vytvořen" (fatal)
    CreateFailed,         // "Chyba databáze" (fatal)
    // Messages of our own, where the program must say something the table above does not cover.
    ValueOutOfRange,      // "Chybná hodnota"
    NotADatabase,         // "Poškozená databáze"
    WrongPassword,        // "Nespravne heslo!!!"
    InvalidValue,         // "Chybná hodnota" with a text of the caller's (%Message)
    NoRecords,            // "Žádné záznamy"
};

struct MessageDef {
    MessageId id;
    MessageKind kind;
    const char *title;   // UTF-8
    const char *text;    // UTF-8, with placeholders and "|"
};

const MessageDef &messageDef(MessageId id);

struct MessageArgs {
    QString file;
    QString errorText;
    QString message;
    QString field;
    QString procedure;
};

// The text as shown: placeholders replaced, "|" turned into line breaks, and the fatal suffix
// "  Stiskněte OK pro ukončení programu" appended to a fatal message.
QString messageText(MessageId id, const MessageArgs &args);
QString messageTitle(MessageId id);
