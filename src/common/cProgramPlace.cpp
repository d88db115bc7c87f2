#include "common/cProgramPlace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString settingsName = QStringLiteral("QDX.ini");
const QString helpName = QStringLiteral("QDX.hlp");

// The installed defaults: beside the program as the install rules lay them out, else wherever
// the system keeps shared data.
QString defaultsFolder(const QString &programFolder)
{
    const QString besideProgram =
        QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(QDX_DATA_FROM_BIN)));
    if (QFileInfo(QDir(besideProgram).filePath(settingsName)).isFile())
        return besideProgram;
    const QString shared = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                  QStringLiteral("qdx/") + settingsName);
    return shared.isEmpty() ? besideProgram : QFileInfo(shared).absolutePath();
}
} // namespace

cProgramPlace cProgramPlace::portable(const QString &folder)
{
    cProgramPlace place;
    place.m_settings = QDir(folder).filePath(settingsName);
    place.m_log = folder;
    place.m_dot = QDir::toNativeSeparators(folder);
    return place;
}

cProgramPlace cProgramPlace::forProgram(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    if (QFileInfo(QDir(programFolder).filePath(settingsName)).isFile() && folder.isWritable())
        return portable(programFolder);
    cProgramPlace place;
    place.m_portable = false;
    place.m_settings = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                           .filePath(settingsName);
    place.m_log = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    place.m_dot = QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    place.m_defaults = defaultsFolder(programFolder);
    return place;
}

QString cProgramPlace::helpSource() const
{
    if (m_portable || QFileInfo::exists(helpName))
        return helpName;
    return QDir(m_defaults).filePath(helpName);
}

bool cProgramPlace::prepare() const
{
    if (m_portable)
        return true;
    if (!QDir().mkpath(m_log) || !QDir().mkpath(QFileInfo(m_settings).absolutePath()))
        return false;
    if (QFileInfo::exists(m_settings))
        return true;
    const QString defaults = QDir(m_defaults).filePath(settingsName);
    if (!QFile::copy(defaults, m_settings))
        return false;
    // The installed default is read-only; the user's copy is the user's to change.
    return QFile::setPermissions(m_settings, QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ReadGroup | QFile::ReadOther);
}
