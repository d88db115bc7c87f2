#pragma once

#include <QString>
#include <exception>

// An error raised by the store or an operation, carrying the number and description that the log
// prints as the pending error. Number 0 means "no error": returned, it is the result of a step
// that does not throw.
class cError : public std::exception
{
public:
    enum Number {
        None = 0,
        InvalidArgument = 5,
        Overflow = 6,
        OutOfMemory = 7,
        TypeMismatch = 13,
        BadFileName = 52,
        FileNotFound = 53,
        BadFileMode = 54,
        DeviceIO = 57,
        PathFileAccess = 75,
        PathNotFound = 76,
        ObjectNotSet = 91,
        InvalidPropertyValue = 380,
        DuplicateKey = 457,
        InvalidPicture = 481,
        InvalidClassString = 711,
        ControlNameTaken = 727,
        ControlNotFound = 730,
    };

    cError() = default;
    cError(int number, const QString &description);
    static cError invalidArgument();
    static cError duplicateKey();
    static cError typeMismatch();
    static cError overflow();
    static cError objectNotSet();

    int number() const { return m_number; }
    bool failed() const { return m_number != None; }
    QString description() const { return m_description; }
    const char *what() const noexcept override;

private:
    int m_number = None;
    QString m_description;
    QByteArray m_what;
};
