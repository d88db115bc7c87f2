#pragma once

#include <QString>
#include <functional>

// One run at a time in a folder: a second run into the same folder, from this program or
// another, waits until the first lets it go. The lock is the system's, on the folder itself: it
// writes nothing there and goes with the process, however that ends.
class cFolderLock
{
public:
    explicit cFolderLock(const QString &folder);
    ~cFolderLock();
    cFolderLock(const cFolderLock &) = delete;
    cFolderLock &operator=(const cFolderLock &) = delete;

    // Takes the folder, waiting while another run holds it and stillWaiting says to go on;
    // false when the wait was given up. A folder that cannot be opened is not held: the run
    // then fails where it writes, as it would without the lock.
    bool take(const std::function<bool()> &stillWaiting);

private:
    int m_folder;
};
