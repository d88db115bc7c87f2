#include "options/cObjColl.h"

#include "common/cError.h"
#include "common/modUtil1.h"

void cObjColl::Add(const Item &item, const QString &key)
{
    if (m_byKey.contains(fold(key))) {
        modUtil1::writeLog(false, 0, QStringLiteral("ERRORE.cObjColl.Add:") + key,
                           cError::duplicateKey());
        return;
    }
    m_items.append({item, key});
    m_byKey.insert(fold(key), item);
}

cObjColl::Item cObjColl::item(int position) const
{
    if (position < 1 || position > Count())
        throw cError::invalidArgument();
    return m_items.at(position - 1).item;
}

cObjColl::Item cObjColl::item(const QString &key) const
{
    const auto found = m_byKey.constFind(fold(key));
    if (found == m_byKey.constEnd())
        throw cError::invalidArgument();
    return *found;
}

void cObjColl::Remove(int position)
{
    if (position < 1 || position > Count())
        throw cError::invalidArgument();
    m_byKey.remove(fold(m_items.at(position - 1).key));
    m_items.removeAt(position - 1);
}

void cObjColl::Remove(const QString &key)
{
    for (int i = 0; i < Count(); ++i) {
        if (fold(m_items.at(i).key) == fold(key)) {
            Remove(i + 1);
            return;
        }
    }
    throw cError::invalidArgument();
}

void cObjColl::setModified(int count)
{
    if (count < -32768 || count > 32767)
        throw cError::overflow();
    m_modified = qint16(count);
}
