#pragma once

#include <QString>

// Where the program keeps its files. Portable, the way it has always run: when the folder of the
// program file holds a QDX.ini and may be written, settings, log and "." are that folder.
// Installed, otherwise: the user's own QDX.ini in the user's configuration folder (copied from
// the installed default on first start), the log in the user's data folder, "." the user's
// Pictures folder, and nothing is ever written beside the program.
class cProgramPlace
{
public:
    // The place of the program file in programFolder, portable or installed as it finds it.
    static cProgramPlace forProgram(const QString &programFolder);
    // Always portable: everything in folder.
    static cProgramPlace portable(const QString &folder);

    bool isPortable() const { return m_portable; }
    QString settingsFile() const { return m_settings; }
    QString logFolder() const { return m_log; }
    // What "." in a folder setting stands for, without a trailing separator.
    QString dotFolder() const { return m_dot; }
    // The help source: "QDX.hlp" in the current directory; installed, the installed one when the
    // current directory has none.
    QString helpSource() const;
    // Installed, makes the user's folders and copies the default settings when the user has
    // none yet; false when that could not be done.
    bool prepare() const;

private:
    bool m_portable = true;
    QString m_settings;
    QString m_log;
    QString m_dot;
    QString m_defaults; // the installed QDX.ini and QDX.hlp
};
