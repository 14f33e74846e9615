#include "schema.h"

namespace {

FieldDef B(const char *n) { return {n, FieldType::Byte, 1, 0}; }
FieldDef L(const char *n) { return {n, FieldType::Long, 4, 0}; }
FieldDef S(const char *n, int len) { return {n, FieldType::String, len, 0}; }
FieldDef C(const char *n, int len) { return {n, FieldType::CString, len, 0}; }
FieldDef D(const char *n, int bytes, int dec = 0) { return {n, FieldType::Decimal, bytes, dec}; }

KeyDef K(const char *label, const char *ext, std::vector<int> f, bool unique, bool primary, bool opt,
         bool autoNumber = false)
{
    KeyDef k{label, ext, std::move(f)};
    k.unique = unique;
    k.primary = primary;
    k.opt = opt;
    k.autoNumber = autoNumber;
    return k;
}

std::vector<TableDef> makeTables()
{
    std::vector<TableDef> t;
    t.push_back({TableId::GCU_ALARM, "GCU_ALARM", "ALR", "GCU_ALAR",
                 {L("ID"), B("VERZE_GCU"), B("CISLO_GCU"), B("ALARM_VYSTUP")},
                 {K("ALR:Keyid", nullptr, {ALR::ID}, true, true, true, true)},
                 {}});
    t.push_back({TableId::SETINGS, "SETINGS", "SET", "SETINGS",
                 {L("ID"), L("RANNI_DO"), L("ODPOLEDNI_DO"), L("NOCNI_DO")},
                 {K("SET:PRIMARY", nullptr, {SET::ID}, true, true, true)},
                 {}});
    t.push_back({TableId::KALENDAR, "KALENDAR", "KAL", "Kalendar",
                 {L("KOD"), D("MESIC", 2), D("ROK", 3), L("PRACOVNICH_DNU"), L("PRACOVNICH_HODIN"), S("NAZEV", 30)},
                 {K("KAL:KeyMesic", "KAL_KEYMESIC", {KAL::MESIC, KAL::KOD}, false, false, true),
                  K("KAL:KeyKod", "KAL_KEYKOD", {KAL::KOD}, true, true, true, true),
                  K("KAL:KeyNazev", "KAL_KEYNAZEV", {KAL::NAZEV, KAL::KOD}, false, false, true)},
                 {}});
    {
        TableDef cards{TableId::CARDS, "CARDS", "CAR", "databze_karet",
                       {L("ID"), S("KOD", 16), S("KOD_RFID", 16), L("KATEGORIE"), L("DRUH"), L("DRZITEL"),
                        B("STAV_KARTY"), B("CASOVA_PLATNOST"), L("DATUM_PLATNOSTI"), L("CAS_PLATNOSTI"),
                        B("VJEZD_OBJEKT"), D("VJEZD_OBJEKT_POCET", 3), B("VYJEZD_OBJEKT"), B("VJEZD_PARKOVISTE"),
                        D("VJEZD_PARKOVISTE_POCET", 3), B("VJEZD_HOTEL"), D("VJEZD_HOTEL_POCET", 3),
                        B("CASOVA_PLATNOST_BAZEN"), D("BAZEN_POCET", 3), B("OMEZENI_BAZEN"), D("SAUNA_POCET", 3),
                        D("SOLARIUM_POCET", 3), B("SOLARIUM_CAS"), B("MASAZ_PROGRAM"), D("MASAZ_POCET", 3),
                        B("MASAZ_CAS"), C("POZNAMKA", 128), B("POSUVNE_DVERE"), D("POSUVNE_DVERE_POCET", 3),
                        B("POSUVNE_DVERE_JIDELNA"), D("POSUVNE_DVERE_JIDELNA_POCET", 3), D("CISLO_POKOJE", 3),
                        B("VSECHNY_POKOJE"), D("SOLNA_JESKYNE_POCET", 3), B("SOLNA_JESKYNE_CAS"),
                        D("SOLARNI_LOUKA_POCET", 3), B("SOLARNI_LOUKA_CAS"), D("MC_HYDROMASAZ_POCET", 3),
                        B("MC_HYDROMASAZ_CAS"), D("MC_AQUARIUS_POCET", 3), B("MC_AQUARIUS_CAS"),
                        D("MC_PERLICKA_POCET", 3), B("MC_PERLICKA_CAS"), D("MC_FAMENTERA_POCET", 3),
                        B("MC_FAMENTERA_CAS"), D("MC_FLOATING_POCET", 3), B("MC_FLOATING_CAS"),
                        B("CASOVA_PLATNOST_BALNEA")},
                       {K("CAR:KeyRFID", "CarRFID", {CAR::KOD_RFID}, false, false, true),
                        K("CAR:Primary", "CarPrimary", {CAR::ID}, true, true, false),
                        K("CAR:KeyKod", "CarKod", {CAR::KOD}, false, false, true),
                        K("CAR:KeyDruh", "CarDruh", {CAR::DRUH, CAR::ID}, false, false, true),
                        K("CAR:KeyKategorie", "CarKategorie", {CAR::KATEGORIE, CAR::ID}, false, false, true),
                        K("CAR:KeyDrzitel", "CarDrzitel", {CAR::DRZITEL, CAR::ID}, false, false, true)},
                       {}};
        cards.rowIdField = CAR::ID;
        cards.storeAssignsId = true;
        t.push_back(std::move(cards));
    }
    t.push_back({TableId::KAT_DAT, "KAT_DAT", "DAT", "kategorie",
                 {L("KOD"), S("KATEGORIE", 20), D("CENA", 4, 2)},
                 {K("DAT:KeyNazev", "DatNazev", {DAT::KATEGORIE, DAT::KOD}, false, false, true),
                  K("DAT:KeyKod", "DatKod", {DAT::KOD}, true, true, false, true)},
                 {}});
    {
        TableDef log{TableId::LOG_POKOJE, "LOG_POKOJE", "LPO", "logy_pokoje",
                     {L("ID"), S("KARTA", 16), L("KATEGORIE_KARTY"), B("CTECKA"), B("DATA"), L("DATUM"), L("CAS"),
                      C("POZNAMKA", 128), L("DRZITEL")},
                     {K("LPO:KeyDatum_Cas", "LpoDatum_Cas", {LPO::DATUM, LPO::CAS, LPO::ID}, false, false, true),
                      K("LPO:KeyDrzitel", nullptr, {LPO::DRZITEL, LPO::ID}, false, false, true),
                      K("LPO:KeyId", "LpoId", {LPO::ID}, true, true, false, true),
                      K("LPO:KeyKarta", "LpoKarta", {LPO::KARTA, LPO::ID}, false, false, true),
                      K("LPO:KeyKategorie", "LpoKategorie", {LPO::KATEGORIE_KARTY, LPO::ID}, false, false, true),
                      K("LPO:KeyDatum", "LpoDatum", {LPO::DATUM, LPO::ID}, false, false, true),
                      K("LPO:KeyGcu", "LpoGcu", {LPO::CTECKA, LPO::ID}, false, false, true),
                      K("LPO:KeyOsoba_Dat_Cas", "LpoOsoba_Dat_Cas",
                        {LPO::DRZITEL, LPO::DATUM, LPO::CAS, LPO::ID}, false, false, true)},
                     {}};
        log.rowIdField = LPO::ID;
        log.extraKeys.push_back(K("LPO:KeyOsoba_Datum_Id", nullptr, {LPO::DRZITEL, LPO::DATUM, LPO::ID}, false, false, false));
        // The room access log list sorts by any of its columns: the columns no key starts with
        // get an index each, so that a sorted list of a large log reads page by page too.
        log.extraKeys.push_back(K("LPO:KeyData_Id", nullptr, {LPO::DATA, LPO::ID}, false, false, false));
        log.extraKeys.push_back(K("LPO:KeyCas_Id", nullptr, {LPO::CAS, LPO::ID}, false, false, false));
        log.extraKeys.push_back(K("LPO:KeyPoznamka_Id", nullptr, {LPO::POZNAMKA, LPO::ID}, false, false, false));
        t.push_back(std::move(log));
    }
    t.push_back({TableId::GCU_POK, "GCU_POK", "GCP", "gcu_settings_pokoje",
                 {B("ID_GCU"), B("VERZE_GCU"), L("ID_POKOJE"), B("POUZIVAT_ZVUK_OK"), B("POUZIVAT_ZVUK_ERROR"),
                  D("DELKA_ZVUKU", 2), B("ZAMEK_NA_VYSTUPU"), B("ZPOZDENI_RELE"), B("SMYCKA"), S("NAZEV", 30),
                  B("POUZITI")},
                 {K("GCP:PRIMARY", "GCP_GCU", {GCP::ID_GCU}, true, true, false),
                  K("GCP:KeyPokoj", "GCP_Pokoj", {GCP::ID_POKOJE}, false, false, true)},
                 {{GCP::VERZE_GCU, 2}, {GCP::POUZIVAT_ZVUK_OK, 2}, {GCP::POUZIVAT_ZVUK_ERROR, 3},
                  {GCP::DELKA_ZVUKU, 20}, {GCP::ZAMEK_NA_VYSTUPU, 1}, {GCP::ZPOZDENI_RELE, 5}}});
    t.push_back({TableId::STATE, "STATE", "STA", "status",
                 {L("ID"), B("READY2UPDATE"), L("UPDATETIMESTAMP"), L("UPDATEDATESTAMP")},
                 {K("STA:PRIMARY", "StaId", {STA::ID}, true, true, false, true)},
                 {}});
    t.push_back({TableId::ADR_DAT, "ADR_DAT", "ADR", "adresar",
                 {L("KOD"), L("OSOBNI_CISLO"), S("NAZEV", 52), S("ULICE", 45), S("MESTO", 30), S("PSC", 6),
                  S("STAT", 20), S("TELEFON1", 20), S("TELEFON2", 20), S("FAX", 20), S("MOBIL", 20),
                  S("POZNAMKA2", 128), B("STRAVA"), B("DOCHAZKA"), L("SKUPINA"), S("PASS", 20), B("GSM")},
                 {K("ADR:KeyKod", "AdrKod", {ADR::KOD}, true, true, false, true),
                  K("ADR:KeyOsobni_cislo", "AdrOsobni_cislo", {ADR::OSOBNI_CISLO, ADR::KOD}, true, false, true),
                  K("ADR:KeyNazev", "AdrNazev", {ADR::NAZEV, ADR::KOD}, false, false, true),
                  K("ADR:KeySkupina", "AdrSkupina", {ADR::SKUPINA, ADR::KOD}, false, false, true)},
                 {{ADR::STRAVA, 0}}});
    return t;
}

const std::vector<TableDef> &tables()
{
    static const std::vector<TableDef> t = makeTables();
    return t;
}

} // namespace

int FieldDef::width() const
{
    return size;
}

int TableDef::recordLength() const
{
    int n = 0;
    for (const FieldDef &f : fields)
        n += f.width();
    return n;
}

int TableDef::fieldIndex(const QString &name) const
{
    QString bare = name;
    const QString p = QString::fromLatin1(prefix) + QLatin1Char(':');
    if (bare.startsWith(p, Qt::CaseInsensitive))
        bare = bare.mid(p.size());
    for (int i = 0; i < int(fields.size()); ++i)
        if (bare.compare(QLatin1String(fields[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString TableDef::qualifiedName(int field) const
{
    return QString::fromLatin1(prefix) + QLatin1Char(':') + QLatin1String(fields[field].name);
}

QString TableDef::fileName() const
{
    return QString::fromLatin1(externalName) + QStringLiteral(".sqlite");
}

int TableDef::autoNumberKey() const
{
    for (int i = 0; i < int(keys.size()); ++i)
        if (keys[i].autoNumber)
            return i;
    return -1;
}

int TableDef::primaryKey() const
{
    for (int i = 0; i < int(keys.size()); ++i)
        if (keys[i].primary)
            return i;
    return -1;
}

const TableDef &tableDef(TableId id)
{
    return tables()[size_t(id)];
}

const std::vector<const TableDef *> &allTables()
{
    static const std::vector<const TableDef *> all = [] {
        std::vector<const TableDef *> v;
        for (const TableDef &t : tables())
            v.push_back(&t);
        return v;
    }();
    return all;
}

const std::vector<RelationDef> &allRelations()
{
    static const std::vector<RelationDef> r = {
        {TableId::KAT_DAT, DAT::KOD, TableId::CARDS, CAR::KATEGORIE, CAR::KeyKategorie, ChangeRule::Cascade, DeleteRule::Restrict},
        {TableId::GCU_POK, GCP::ID_GCU, TableId::LOG_POKOJE, LPO::CTECKA, LPO::KeyGcu, ChangeRule::Cascade, DeleteRule::Clear},
        {TableId::ADR_DAT, ADR::KOD, TableId::CARDS, CAR::DRZITEL, CAR::KeyDrzitel, ChangeRule::Cascade, DeleteRule::Restrict},
    };
    return r;
}
