#pragma once

#include "common/cFileStamp.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>

// Decodes previews away from the window's thread, so that no picture holds the window up: the
// one asked for first, then the ones the user is likely to step to next. It keeps the last few,
// so that a step to a picture decoded ahead shows it at once; a picture changed since it was
// decoded is decoded again.
class cPreviewLoader : public QObject
{
    Q_OBJECT
public:
    struct Preview
    {
        QImage image;  // upright, no larger than the box; null when the picture cannot be shown
        QSize upright; // the whole picture's size
        QString problem;
    };

    explicit cPreviewLoader(const QSize &box, QObject *parent = nullptr);
    ~cPreviewLoader() override;

    // ready() follows for path, at once when its preview is kept; then the pictures ahead are
    // decoded, in their order. A request replaces the one before: no ready() comes for that.
    void request(const QString &path, const QStringList &ahead);
    bool isIdle() const { return m_running.isEmpty() && m_queue.isEmpty(); }

signals:
    void ready(const QString &path, const cPreviewLoader::Preview &preview);

private:
    struct Kept
    {
        QString path;
        cFileStamp stamp;
        Preview preview;
    };

    static Preview decode(const QString &path, const QSize &box);
    const Kept *fresh(const QString &path) const;
    void startNext();
    void finished(const QString &path, const cFileStamp &stamp, const Preview &preview);

    QSize m_box;
    QString m_wanted;
    QStringList m_queue;
    QStringList m_running;
    QList<Kept> m_kept; // the most recent last
    QThreadPool m_pool;
};
