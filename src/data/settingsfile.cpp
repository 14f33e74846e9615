#include "settingsfile.h"

#include "fieldlimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>

#include <SimpleIni.h>

#include <algorithm>
#include <string>

namespace {

bool isControl(QChar ch)
{
    return ch.unicode() < 0x20 || ch.unicode() == 0x7F;
}

// Names that a profile line can carry and that read back as themselves.
bool isWritableName(const QString &name, bool isKey)
{
    if (name.isEmpty() || name.trimmed() != name)
        return false;
    for (QChar ch : name) {
        if (isControl(ch))
            return false;
    }
    if (isKey) {
        const QChar first = name.front();
        return !name.contains(u'=') && first != u'[' && first != u';' && first != u'#';
    }
    return !name.contains(u']');
}

// A value always stays on its own line: control characters (line breaks above all) become
// blanks, and the blanks that reading would drop anyway are dropped now.
QString sanitisedValue(const QString &value)
{
    QString result = value;
    for (QChar &ch : result) {
        if (isControl(ch))
            ch = u' ';
    }
    return result.trimmed();
}

// A line that opens a section name but never closes it is no section header. The parser would
// take it for one anyway and run the name on into the following lines, so it is blanked here.
void blankUnclosedSectionHeaders(QByteArray &bytes)
{
    char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype lineStart = 0;
    while (lineStart < size) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < size && data[lineEnd] != '\n')
            ++lineEnd;
        qsizetype first = lineStart;
        while (first < lineEnd && (data[first] == ' ' || data[first] == '\t'))
            ++first;
        if (first < lineEnd && data[first] == '['
            && !QByteArrayView(data + first, lineEnd - first).contains(']')) {
            std::fill(data + lineStart, data + lineEnd, ' ');
        }
        lineStart = lineEnd + 1;
    }
}

// Whole numbers only, as the placement keys hold them.
std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

QString yesNo(bool on)
{
    return on ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace

struct SettingsFile::Data
{
    Data()
    {
        reset();
    }

    void reset()
    {
        ini.Reset();
        ini.SetUnicode(false);
        ini.SetMultiKey(false);
        ini.SetMultiLine(false);
        ini.SetSpaces(false);
        ini.SetQuotes(false);
        ini.SetAllowKeyOnly(false);
    }

    CSimpleIniA ini{false, false, false};
};

SettingsFile::SettingsFile(const QString &path)
    : m_path(path)
    , m_data(std::make_unique<Data>())
{
}

SettingsFile::~SettingsFile() = default;

QString SettingsFile::fileName()
{
    return QStringLiteral("halvane.INI");
}

QString SettingsFile::pathIn(const QString &directory)
{
    return QDir(directory).filePath(fileName());
}

QString SettingsFile::path() const
{
    QMutexLocker locker(&m_mutex);
    return m_path;
}

bool SettingsFile::load(QString *error)
{
    QMutexLocker locker(&m_mutex);
    m_data->reset();

    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }

    QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize) {
        // Keep only whole lines: a line cut by the limit must not come back as a shorter value.
        bytes.truncate(MaxFileSize);
        const qsizetype lastBreak = bytes.lastIndexOf('\n');
        bytes.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
    }
    // A NUL would end the parse early and lose everything after it.
    bytes.replace('\0', ' ');
    // The parser ends a line at either CR or LF; saying so once here keeps a lone CR from
    // surviving inside a comment and turning into a line of its own at the next read.
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    blankUnclosedSectionHeaders(bytes);
    // A UTF-8 signature would switch the parser to UTF-8; the file is code page 1250.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);

    if (m_data->ini.LoadData(bytes.constData(), size_t(bytes.size())) < 0) {
        m_data->reset();
        if (error)
            *error = QStringLiteral("Soubor %1 nelze přečíst.").arg(m_path);
        return false;
    }
    return true;
}

bool SettingsFile::save(QString *error)
{
    QMutexLocker locker(&m_mutex);

    std::string text;
    if (m_data->ini.Save(text, false) < 0) {
        if (error)
            *error = QStringLiteral("Soubor %1 nelze sestavit.").arg(m_path);
        return false;
    }

    // Profile lines end in CR LF, and the file has no blank lines of its own (the parser puts
    // one before every section after the first, and ends lines in CR LF itself on Windows).
    QByteArray bytes;
    bytes.reserve(qsizetype(text.size()) + qsizetype(text.size()) / 16);
    qsizetype lineStart = 0;
    const QByteArrayView all(text.data(), qsizetype(text.size()));
    while (lineStart < all.size()) {
        qsizetype lineEnd = all.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = all.size();
        QByteArrayView line = all.sliced(lineStart, lineEnd - lineStart);
        while (!line.isEmpty() && line.back() == '\r')
            line.chop(1);
        if (!line.isEmpty()) {
            bytes.append(line);
            bytes.append("\r\n");
        }
        lineStart = lineEnd + 1;
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString SettingsFile::value(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const QByteArray sectionBytes = toCp1250(section);
    const QByteArray keyBytes = toCp1250(key);

    QMutexLocker locker(&m_mutex);
    const char *found = m_data->ini.GetValue(sectionBytes.constData(), keyBytes.constData(),
                                             nullptr);
    if (!found)
        return defaultValue;
    return fromCp1250(QByteArrayView(found));
}

bool SettingsFile::contains(const QString &section, const QString &key) const
{
    const QByteArray sectionBytes = toCp1250(section);
    const QByteArray keyBytes = toCp1250(key);

    QMutexLocker locker(&m_mutex);
    return m_data->ini.GetValue(sectionBytes.constData(), keyBytes.constData(), nullptr)
           != nullptr;
}

bool SettingsFile::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!isWritableName(section, false) || !isWritableName(key, true))
        return false;
    const QByteArray sectionBytes = toCp1250(section);
    const QByteArray keyBytes = toCp1250(key);
    const QByteArray valueBytes = toCp1250(sanitisedValue(value));

    QMutexLocker locker(&m_mutex);
    return m_data->ini.SetValue(sectionBytes.constData(), keyBytes.constData(),
                                valueBytes.constData())
           >= 0;
}

bool SettingsFile::removeKey(const QString &section, const QString &key)
{
    if (key.isEmpty())
        return false;
    const QByteArray sectionBytes = toCp1250(section);
    const QByteArray keyBytes = toCp1250(key);

    QMutexLocker locker(&m_mutex);
    return m_data->ini.Delete(sectionBytes.constData(), keyBytes.constData(), false);
}

QStringList SettingsFile::sections() const
{
    QMutexLocker locker(&m_mutex);
    CSimpleIniA::TNamesDepend names;
    m_data->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());

    QStringList result;
    for (const CSimpleIniA::Entry &entry : names) {
        if (*entry.pItem) // the lines before the first section header have no name
            result.append(fromCp1250(QByteArrayView(entry.pItem)));
    }
    return result;
}

QStringList SettingsFile::keys(const QString &section) const
{
    const QByteArray sectionBytes = toCp1250(section);

    QMutexLocker locker(&m_mutex);
    CSimpleIniA::TNamesDepend names;
    m_data->ini.GetAllKeys(sectionBytes.constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());

    QStringList result;
    for (const CSimpleIniA::Entry &entry : names)
        result.append(fromCp1250(QByteArrayView(entry.pItem)));
    return result;
}

void SettingsFile::writeEndMarker()
{
    setValue(QStringLiteral("__Dont_Touch_Me__"), QStringLiteral("Sectors"), QStringLiteral("0"));
}

QString SettingsFile::fromCp1250(QByteArrayView bytes)
{
    return FieldLimits::fromCp1250(QByteArray(bytes.data(), bytes.size()));
}

QByteArray SettingsFile::toCp1250(QStringView text)
{
    return FieldLimits::toCp1250(text.toString());
}

bool StoredPlacement::isStored() const
{
    return maximize == QLatin1String("Yes") || maximize == QLatin1String("No");
}

bool StoredPlacement::isMaximized() const
{
    return maximize == QLatin1String("Yes");
}

StoredPlacement readPlacement(const SettingsFile &file, const QString &section)
{
    StoredPlacement placement;
    placement.maximize = file.value(section, QStringLiteral("Maximize"));
    placement.minimize = file.value(section, QStringLiteral("Minimize"));
    placement.x = wholeNumber(file.value(section, QStringLiteral("XPos")));
    placement.y = wholeNumber(file.value(section, QStringLiteral("YPos")));
    placement.width = wholeNumber(file.value(section, QStringLiteral("Width")));
    placement.height = wholeNumber(file.value(section, QStringLiteral("Height")));
    return placement;
}

void writePlacement(SettingsFile &file, const QString &section, const PlacementState &state)
{
    file.setValue(section, QStringLiteral("Maximize"), yesNo(state.maximized));
    file.setValue(section, QStringLiteral("Minimize"), yesNo(state.minimized));

    const QString xPos = QStringLiteral("XPos");
    const QString yPos = QStringLiteral("YPos");
    const QString width = QStringLiteral("Width");
    const QString height = QStringLiteral("Height");
    if (state.maximized || state.minimized) {
        file.removeKey(section, xPos);
        file.removeKey(section, yPos);
        file.removeKey(section, width);
        file.removeKey(section, height);
        return;
    }
    file.setValue(section, xPos, QString::number(state.x));
    file.setValue(section, yPos, QString::number(state.y));
    if (state.resizable) {
        file.setValue(section, width, QString::number(state.width));
        file.setValue(section, height, QString::number(state.height));
    }
}
