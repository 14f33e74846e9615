#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>

// The settings manager (`INIMgr`): the program's settings file "halvane.INI" in the Windows
// profile format, as a Czech Windows writes it.
//
// The file is read once by load() and kept in memory; value(), setValue() and removeKey() work
// on that copy, and save() writes the whole of it back. Sections and keys the program does not
// know are kept, in their order, with their bytes untouched. On disk the text is in code page
// 1250 with CR LF line ends; a character that code page 1250 cannot hold is written as '?'.
// Names of sections and keys are compared without regard to the case of the letters A to Z.
//
// What the file may hold is not trusted: a missing file is an empty one, a line that is neither
// a section header nor a key=value pair is skipped, NUL bytes read as blanks, and only the first
// 4 MiB are read (up to the last whole line); the rest is treated as absent and is not written
// back. Of a key given twice in a section the last value counts.
//
// Every member function may be called from any thread: they are serialised by a lock of the
// object's own.
class SettingsFile
{
public:
    // Binds the manager to the file at `path`; nothing is read until load().
    explicit SettingsFile(const QString &path);
    ~SettingsFile();

    SettingsFile(const SettingsFile &) = delete;
    SettingsFile &operator=(const SettingsFile &) = delete;

    // "halvane.INI", and its full path inside the data directory `directory`.
    static QString fileName();
    static QString pathIn(const QString &directory);

    // The most the program reads of the file: 4 MiB.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    QString path() const;

    // Reads the file, replacing whatever was held before. A missing file gives an empty set of
    // sections and is no error. Returns false, with a reason in `error`, only when the file
    // exists but cannot be read; the content is then empty too.
    bool load(QString *error = nullptr);

    // Writes everything held to the file: first to a temporary file in the same directory,
    // which then replaces the file, so a failed write leaves the old file as it was. Returns
    // false with a reason in `error` when the file cannot be written.
    bool save(QString *error = nullptr);

    // The value of `key` in `section`, without leading and trailing blanks; `defaultValue`
    // when the section or the key is missing.
    QString value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    bool contains(const QString &section, const QString &key) const;

    // Sets `key` of `section` to `value`. An existing key keeps its place; a new key goes to the
    // end of its section and a new section to the end of the file. Line breaks and other control
    // characters of `value` become blanks and leading and trailing blanks are dropped, so a
    // value can never start a section or a key of its own. Returns false, changing nothing,
    // when the section or key name cannot be written as one (empty, with a control character,
    // a section name with ']', a key name with '=' or starting with '[', ';' or '#').
    bool setValue(const QString &section, const QString &key, const QString &value);

    // Removes `key` from `section`; the section itself stays, even when empty. Returns whether
    // the key was there.
    bool removeKey(const QString &section, const QString &key);

    // The names of the sections, and of the keys of one section, in the order of the file.
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Writes the manager's own section at the normal end of the program: "__Dont_Touch_Me__"
    // with "Sectors" = "0" (the program registers no section groups).
    void writeEndMarker();

    // Code page 1250 conversion as the file uses it. Every byte has a character, the five
    // bytes the code page leaves unassigned the control character of the same number, so any
    // byte string survives fromCp1250() followed by toCp1250(). Characters outside the code
    // page become '?' (one per character, also for those outside the basic plane).
    static QString fromCp1250(QByteArrayView bytes);
    static QByteArray toCp1250(QStringView text);

private:
    struct Data;

    mutable QMutex m_mutex;
    QString m_path;
    std::unique_ptr<Data> m_data;
};

// A window's placement as stored in its settings section (the section named after the window's
// procedure). The window side decides what to do with it; all sizes are in the window's own
// units.
struct StoredPlacement
{
    QString maximize; // "Maximize" as stored: "Yes", "No", or anything else
    QString minimize; // "Minimize" as stored
    std::optional<int> x;      // "XPos", when stored as a whole number
    std::optional<int> y;      // "YPos"
    std::optional<int> width;  // "Width"
    std::optional<int> height; // "Height"

    // True when "Maximize" is "Yes" or "No": only then was a placement stored; otherwise the
    // window keeps its designed placement.
    bool isStored() const;
    bool isMaximized() const; // "Maximize" is "Yes"
};

// What a window tells about itself when it closes.
struct PlacementState
{
    bool maximized = false;
    bool minimized = false;
    bool resizable = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Reads the placement stored in `section`.
StoredPlacement readPlacement(const SettingsFile &file, const QString &section);

// Stores the placement of a closing window in `section`: "Maximize" and "Minimize" as "Yes" or
// "No"; when the window is neither maximised nor minimised "XPos" and "YPos", and for a
// resizable window "Width" and "Height" too; otherwise the four keys are removed. The file is
// not saved here.
void writePlacement(SettingsFile &file, const QString &section, const PlacementState &state);
