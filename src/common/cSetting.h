#pragma once

#include <QByteArray>
#include <QString>

class cOption;

// One key of a store, read as often as a loop needs it: every read gives the current value, as a
// look-up would, but costs a search only after the store has changed.
class cSetting
{
public:
    cSetting(const cOption &options, const QString &key);

    // As cOption::getStrVal: throws an invalid-argument cError for a missing key.
    const QString &text() const;
    // The value in UTF-8, the encoding of the pages.
    const QByteArray &utf8() const;
    // As cOption::getIntVal: 0 for a missing key or a value that is no whole number.
    qint16 number() const;

private:
    void refresh() const;

    const cOption &m_options;
    QString m_key;
    mutable quint64 m_generation = 0;
    mutable bool m_found = false;
    mutable QString m_text;
    mutable QByteArray m_utf8;
    mutable qint16 m_number = 0;
};
