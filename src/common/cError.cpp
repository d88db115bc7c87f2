#include "common/cError.h"

cError::cError(int number, const QString &description)
    : m_number(number), m_description(description), m_what(description.toLocal8Bit())
{
}

cError cError::invalidArgument()
{
    return cError(InvalidArgument, QStringLiteral("Invalid procedure call or argument"));
}

cError cError::duplicateKey()
{
    return cError(
        DuplicateKey,
        QStringLiteral("This key is already associated with an element of this collection"));
}

cError cError::typeMismatch()
{
    return cError(TypeMismatch, QStringLiteral("Type mismatch"));
}

cError cError::overflow()
{
    return cError(Overflow, QStringLiteral("Overflow"));
}

cError cError::objectNotSet()
{
    return cError(ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
}

const char *cError::what() const noexcept
{
    return m_what.constData();
}
