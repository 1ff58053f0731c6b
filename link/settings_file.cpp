#include "link/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlink
{

namespace
{

bool isSectionLine(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.endsWith(u']');
}

QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    return t.mid(1, t.size() - 2).trimmed();
}

QString keyOf(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

// The file's first MaxBytes, read only when it is a regular file: a FIFO with no writer would
// block the open, a device or a huge file the read. Opened without blocking, then checked on the
// descriptor itself, so nothing can be swapped in between.
QByteArray readRegularFile(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st {
    };
    QByteArray data;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly))
            data = file.read(SettingsFile::MaxBytes);
    }
    ::close(fd);
    return data;
}

} // namespace

void SettingsFile::load(const QString &path)
{
    path_ = path;
    lines_.clear();
    QByteArray data = readRegularFile(path);
    QTextStream in(&data, QIODevice::ReadOnly | QIODevice::Text);
    while (!in.atEnd())
        lines_.append(in.readLine());
}

bool SettingsFile::save(QString *reason) const
{
    // The user's configuration folder may not exist yet.
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&file);
        for (const QString &line : lines_)
            out << line << '\n';
        out.flush();
        if (file.commit())
            return true;
    }
    if (reason)
        *reason = file.errorString();
    return false;
}

int SettingsFile::findSection(const QString &section) const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (isSectionLine(lines_[i]) &&
            sectionName(lines_[i]).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int SettingsFile::findKey(int sectionLine, const QString &key) const
{
    for (int i = sectionLine + 1; i < lines_.size() && !isSectionLine(lines_[i]); ++i)
        if (keyOf(lines_[i]).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString SettingsFile::value(const QString &section, const QString &key,
                            const QString &fallback) const
{
    const int s = findSection(section);
    const int k = s < 0 ? -1 : findKey(s, key);
    if (k < 0)
        return fallback;
    const QString &line = lines_[k];
    return line.mid(line.indexOf(u'=') + 1);
}

void SettingsFile::setValue(const QString &section, const QString &key, const QString &value)
{
    int s = findSection(section);
    if (s < 0) {
        lines_.append(QStringLiteral("[%1]").arg(section));
        s = int(lines_.size()) - 1;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        lines_[k] = keyOf(lines_[k]) + u'=' + value;
        return;
    }
    int end = s + 1;
    while (end < lines_.size() && !isSectionLine(lines_[end]))
        ++end;
    // Insert after the section's last non-blank line, so a blank separator stays in place.
    while (end > s + 1 && lines_[end - 1].trimmed().isEmpty())
        --end;
    lines_.insert(end, key + u'=' + value);
}

QString SettingsFile::pathForProgram(const QString &programPath)
{
    const QFileInfo info(programPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".dev"));
}

DeviceMap deviceMapFrom(const SettingsFile &settings)
{
    DeviceMap map = defaultDeviceMap();
    for (int i = 0; i < PortCount; ++i) {
        const QString device =
            settings.value(QLatin1String(PortParamsSection), QStringLiteral("Device%1").arg(i + 1))
                .trimmed();
        if (!device.isEmpty())
            map[i] = device;
    }
    return map;
}

int rememberedPort(const SettingsFile &settings)
{
    bool number = false;
    const int port = settings
                         .value(QLatin1String(PortParamsSection), QStringLiteral("ComInteger"),
                                QStringLiteral("1"))
                         .trimmed()
                         .toInt(&number);
    return number ? port : -1;
}

} // namespace vlink
