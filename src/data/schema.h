#pragma once

#include <QString>
#include <vector>

// The nine tables the program shares with the communication service: one definition per
// table drives the SQL, the record buffers, the field limits and the windows.

enum class FieldType { Byte, Long, String, CString, Decimal };

struct FieldDef {
    const char *name;      // column name, without the table prefix ("KOD_RFID")
    FieldType type;
    int size = 0;          // characters for STRING/CSTRING, bytes for DECIMAL
    int decimals = 0;      // DECIMAL only

    int width() const;     // bytes the field takes in the record layout
    bool isText() const { return type == FieldType::String || type == FieldType::CString; }
};

struct KeyDef {
    const char *label;             // "CAR:KeyRFID"
    const char *externalName;      // "CarRFID", or nullptr
    std::vector<int> fields;       // field indexes, in order
    bool unique = false;
    bool primary = false;
    bool nocase = true;
    bool opt = false;
    bool autoNumber = false;
};

struct FieldDefault {
    int field;
    qint64 value;
};

enum class TableId { GCU_ALARM, SETINGS, KALENDAR, CARDS, KAT_DAT, LOG_POKOJE, GCU_POK, STATE, ADR_DAT };
constexpr int TableCount = 9;

struct TableDef {
    TableId id;
    const char *label;         // "CARDS"
    const char *prefix;        // "CAR"
    const char *externalName;  // "databze_karet"
    std::vector<FieldDef> fields;
    std::vector<KeyDef> keys;
    std::vector<FieldDefault> defaults;
    int rowIdField = -1;       // field that is the SQLite rowid itself (INTEGER PRIMARY KEY), or -1
    bool storeAssignsId = false; // CARDS: the store assigns CAR:ID on insert
    // Indexes of the program's own beside the keys, for its lists; the communication service
    // neither knows nor needs them.
    std::vector<KeyDef> extraKeys = {};

    int recordLength() const;
    int fieldIndex(const QString &name) const;  // "KOD_RFID" or "CAR:KOD_RFID"; -1 if unknown
    QString qualifiedName(int field) const;     // "CAR:KOD_RFID"
    QString fileName() const;                   // "databze_karet.sqlite"
    int autoNumberKey() const;                  // index of the auto-numbered key, or -1
    int primaryKey() const;
};

const TableDef &tableDef(TableId id);
const std::vector<const TableDef *> &allTables();

// Field and key indexes, named as the program knows them: CAR::KOD_RFID, CAR::KeyRFID.
namespace ALR { enum Field { ID, VERZE_GCU, CISLO_GCU, ALARM_VYSTUP }; enum Key { Keyid }; }
namespace SET { enum Field { ID, RANNI_DO, ODPOLEDNI_DO, NOCNI_DO }; enum Key { PRIMARY }; }
namespace KAL { enum Field { KOD, MESIC, ROK, PRACOVNICH_DNU, PRACOVNICH_HODIN, NAZEV };
                enum Key { KeyMesic, KeyKod, KeyNazev }; }
namespace CAR {
enum Field {
    ID, KOD, KOD_RFID, KATEGORIE, DRUH, DRZITEL, STAV_KARTY, CASOVA_PLATNOST, DATUM_PLATNOSTI,
    CAS_PLATNOSTI, VJEZD_OBJEKT, VJEZD_OBJEKT_POCET, VYJEZD_OBJEKT, VJEZD_PARKOVISTE,
    VJEZD_PARKOVISTE_POCET, VJEZD_HOTEL, VJEZD_HOTEL_POCET, CASOVA_PLATNOST_BAZEN, BAZEN_POCET,
    OMEZENI_BAZEN, SAUNA_POCET, SOLARIUM_POCET, SOLARIUM_CAS, MASAZ_PROGRAM, MASAZ_POCET, MASAZ_CAS,
    POZNAMKA, POSUVNE_DVERE, POSUVNE_DVERE_POCET, POSUVNE_DVERE_JIDELNA, POSUVNE_DVERE_JIDELNA_POCET,
    CISLO_POKOJE, VSECHNY_POKOJE, SOLNA_JESKYNE_POCET, SOLNA_JESKYNE_CAS, SOLARNI_LOUKA_POCET,
    SOLARNI_LOUKA_CAS, MC_HYDROMASAZ_POCET, MC_HYDROMASAZ_CAS, MC_AQUARIUS_POCET, MC_AQUARIUS_CAS,
    MC_PERLICKA_POCET, MC_PERLICKA_CAS, MC_FAMENTERA_POCET, MC_FAMENTERA_CAS, MC_FLOATING_POCET,
    MC_FLOATING_CAS, CASOVA_PLATNOST_BALNEA
};
enum Key { KeyRFID, Primary, KeyKod, KeyDruh, KeyKategorie, KeyDrzitel };
}
namespace DAT { enum Field { KOD, KATEGORIE, CENA }; enum Key { KeyNazev, KeyKod }; }
namespace LPO {
enum Field { ID, KARTA, KATEGORIE_KARTY, CTECKA, DATA, DATUM, CAS, POZNAMKA, DRZITEL };
enum Key { KeyDatum_Cas, KeyDrzitel, KeyId, KeyKarta, KeyKategorie, KeyDatum, KeyGcu, KeyOsoba_Dat_Cas };
// The program's own indexes: person, date and entry number (the access list's order); code,
// time and note with the entry number (the sort headers of the room access log list).
enum ExtraKey { KeyOsoba_Datum_Id, KeyData_Id, KeyCas_Id, KeyPoznamka_Id };
}
namespace GCP {
enum Field { ID_GCU, VERZE_GCU, ID_POKOJE, POUZIVAT_ZVUK_OK, POUZIVAT_ZVUK_ERROR, DELKA_ZVUKU,
             ZAMEK_NA_VYSTUPU, ZPOZDENI_RELE, SMYCKA, NAZEV, POUZITI };
enum Key { PRIMARY, KeyPokoj };
}
namespace STA { enum Field { ID, READY2UPDATE, UPDATETIMESTAMP, UPDATEDATESTAMP }; enum Key { PRIMARY }; }
namespace ADR {
enum Field { KOD, OSOBNI_CISLO, NAZEV, ULICE, MESTO, PSC, STAT, TELEFON1, TELEFON2, FAX, MOBIL,
             POZNAMKA2, STRAVA, DOCHAZKA, SKUPINA, PASS, GSM };
enum Key { KeyKod, KeyOsobni_cislo, KeyNazev, KeySkupina };
}

// A relation with rules: parent linking field = child linking field, through the child key.
enum class ChangeRule { Cascade };
enum class DeleteRule { Restrict, Clear };
struct RelationDef {
    TableId parent;
    int parentField;
    TableId child;
    int childField;
    int childKey;
    ChangeRule onChange;
    DeleteRule onDelete;
};
const std::vector<RelationDef> &allRelations();
