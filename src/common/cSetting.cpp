#include "common/cSetting.h"

#include "common/cError.h"
#include "common/cOption.h"

cSetting::cSetting(const cOption &options, const QString &key) : m_options(options), m_key(key) {}

const QString &cSetting::text() const
{
    refresh();
    if (!m_found)
        throw cError::invalidArgument();
    return m_text;
}

const QByteArray &cSetting::utf8() const
{
    text();
    return m_utf8;
}

qint16 cSetting::number() const
{
    refresh();
    return m_number;
}

void cSetting::refresh() const
{
    // A store that never changed holds no key, which the values as first set already say.
    if (m_generation == m_options.generation())
        return;
    m_generation = m_options.generation();
    m_found = m_options.hasKey(m_key);
    m_text = m_found ? m_options.getStrVal(m_key) : QString();
    m_utf8 = m_text.toUtf8();
    m_number = m_options.getIntVal(m_key);
}
