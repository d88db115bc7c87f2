#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/stat.h>

// A folder held open by its descriptor, whose files are reached part by part through it without
// following a link: a folder of it swapped for a link meanwhile leads nowhere, never outside.
class cBeneath
{
public:
    // Opens folder, following a link the user chose as the folder itself.
    explicit cBeneath(const QString &folder);
    ~cBeneath();
    cBeneath(const cBeneath &) = delete;
    cBeneath &operator=(const cBeneath &) = delete;

    bool isOpen() const { return m_folder >= 0; }
    // The regular file at below ("/" between its parts, none of them "." or "..") is shown to
    // accepted, opened for reading with its status, and removed from the very folder it was
    // opened in when accepted says so. False when it was not removed.
    bool remove(const QString &below,
                const std::function<bool(int file, const struct stat &status)> &accepted) const;

private:
    // The folder of below's last part, opened through the held one; -1 where there is none.
    int folderOf(const QStringList &parts) const;

    int m_folder = -1;
};
