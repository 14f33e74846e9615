#pragma once

#include <QString>

// The Czech face of Qt's own parts: the buttons of the message boxes (Yes/No, OK), the printer
// setup dialog, the print preview and the date picker. Qt ships these translations itself
// (qtbase_cs.qm, on Debian in the package qt6-translations-l10n).
class Translations
{
public:
    // Loads Qt's Czech translations into the running application and makes Czech the default
    // locale (month and day names of the date picker). Call once, after the application object
    // exists; the translators live until the program ends. Returns false, with the reason in
    // `error`, when no translation file was found: the program then goes on in English.
    static bool install(QString *error = nullptr);

    // Where Qt keeps its translations on this machine.
    static QString directory();
};
